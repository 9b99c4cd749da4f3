#include "toolimage.h"

#include <QMouseEvent>
#include <QPainter>

namespace bitloom {

ToolImage::ToolImage(const QIcon& picture, QWidget* parent) : QWidget(parent), mIcon(picture)
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
        // Four filled edges: a whole logical pixel wide at any scale.
        const QColor line = palette().color(QPalette::WindowText);
        const QRect r = rect();
        painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), line);
        painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), line);
        painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), line);
        painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), line);
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
