#include "cellwidget.h"

#include "io/palette.h"

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

void CellWidget::setColour(Cell colour)
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
    if (hasFocus()) {
        // Inside the border: two pixels of the highlight colour and one of
        // its text colour, so that the ring shows on every shade. Whole
        // logical pixels, filled, so that it stays crisp at any scale.
        const auto ring = [&painter](QRect outer, int width, const QColor& colour) {
            const QRect inner = outer.adjusted(width, width, -width, -width);
            painter.fillRect(QRect(outer.topLeft(), QPoint(outer.right(), inner.top() - 1)), colour);
            painter.fillRect(QRect(QPoint(outer.left(), inner.bottom() + 1), outer.bottomRight()), colour);
            painter.fillRect(
                QRect(QPoint(outer.left(), inner.top()), QPoint(inner.left() - 1, inner.bottom())), colour);
            painter.fillRect(
                QRect(QPoint(inner.right() + 1, inner.top()), QPoint(outer.right(), inner.bottom())), colour);
        };
        const QRect inside = rect().adjusted(1, 1, -1, -1);
        ring(inside, 2, palette().color(QPalette::Highlight));
        ring(inside.adjusted(2, 2, -2, -2), 1, palette().color(QPalette::HighlightedText));
    }
}

void CellWidget::mousePressEvent(QMouseEvent* event)
{
    emit pressed(mIndex, event->button(), event->position());
}

void CellWidget::mouseReleaseEvent(QMouseEvent* event)
{
    emit released(mIndex, event->button());
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked(mIndex);
}

void CellWidget::mouseMoveEvent(QMouseEvent* event)
{
    emit moved(mIndex, event->position().toPoint(), event->buttons());
}

} // namespace bitloom
