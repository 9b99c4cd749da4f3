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
    painter.fillRect(rect(), toQColor(mColour));
    if (mFrame == Frame::Sunken) {
        qDrawShadePanel(&painter, rect(), palette(), true, 1);
    } else {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
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
