#include "cellwidget.h"

#include "shades.h"

#include <QMouseEvent>
#include <QPainter>
#include <qdrawutil.h>

namespace bitloom {

CellWidget::CellWidget(int index, Frame frame, QWidget* parent)
    : QWidget(parent), mIndex(index), mFrame(frame)
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CellWidget::setColour(Colour colour)
{
    if (colour == mColour)
        return;
    mColour = colour;
    update();
}

void CellWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (mFrame == Frame::Sunken) {
        painter.fillRect(rect(), toQColor(mColour));
        qDrawShadePanel(&painter, rect(), palette(), true, 1);
    } else {
        // The line is filled, not stroked, so that it covers the whole outer
        // logical pixel at any scale and neighbours share one line.
        painter.fillRect(rect(), palette().color(QPalette::WindowText));
        painter.fillRect(rect().adjusted(1, 1, -1, -1), toQColor(mColour));
    }
}

void CellWidget::mousePressEvent(QMouseEvent* event)
{
    emit pressed(mIndex, event->button(), event->position());
}

void CellWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked(mIndex);
}

void CellWidget::mouseMoveEvent(QMouseEvent* event)
{
    emit moved(mIndex, event->position().toPoint(), event->buttons());
}

} // namespace bitloom
