#include "spritepreview.h"

#include "io/spriteimage.h"

#include <QPainter>

namespace bitloom {

namespace {
constexpr int kScales[] = {1, 2, 4};
constexpr int kMargin = 4;
constexpr int kGap = 12;
constexpr int kLargest = kGridSide * 4;
} // namespace

SpritePreview::SpritePreview(QWidget* parent) : QWidget(parent), mDrawing(initialGrid())
{
    setAccessibleName(tr("Preview of the current drawing"));
    mImage = drawingImage(mDrawing);
}

void SpritePreview::setDrawing(const Grid& grid)
{
    if (grid == mDrawing)
        return;
    mDrawing = grid;
    mImage = drawingImage(mDrawing);
    for (const int scale : kScales)
        update(copyRect(scale));
}

QRect SpritePreview::copyRect(int scale) const
{
    // The copies share a bottom line, smallest on the left.
    int left = kMargin + 1;
    for (const int s : kScales) {
        const int side = kGridSide * s;
        if (s == scale)
            return {left, kMargin + 1 + kLargest - side, side, side};
        left += side + 2 + kGap;
    }
    return {};
}

QSize SpritePreview::sizeHint() const
{
    const QRect last = copyRect(4);
    return {last.right() + 2 + kMargin, last.bottom() + 2 + fontMetrics().height() + kMargin};
}

void SpritePreview::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    for (const int scale : kScales) {
        const QRect copy = copyRect(scale);
        painter.fillRect(copy.adjusted(-1, -1, 1, 1), palette().color(QPalette::WindowText));
        painter.drawImage(copy, mImage);
        const QRect caption(copy.left() - kGap / 2, copy.bottom() + 3, copy.width() + kGap,
                            fontMetrics().height());
        painter.drawText(caption, Qt::AlignHCenter | Qt::AlignTop, tr("%1x").arg(scale));
    }
}

} // namespace bitloom
