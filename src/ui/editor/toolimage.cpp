#include "toolimage.h"

#include <QMouseEvent>
#include <QPainter>

namespace bitloom {

ToolImage::ToolImage(const QString& resource, QWidget* parent)
    : QWidget(parent), mIcon(resource)
{
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
}

void ToolImage::setBorder(bool border)
{
    if (border == mBorder)
        return;
    mBorder = border;
    update();
}

void ToolImage::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // Drawn at its natural (logical) size; on a dense screen the icon hands
    // out the @2x picture, so it stays crisp.
    painter.drawPixmap(QPointF(0, 0), mIcon.pixmap(size(), devicePixelRatioF()));
    if (mBorder) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void ToolImage::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

void ToolImage::mouseMoveEvent(QMouseEvent*)
{
    emit hovered();
}

} // namespace bitloom
