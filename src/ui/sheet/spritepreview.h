#pragma once

#include "model/grid.h"

#include <QImage>
#include <QWidget>

namespace bitloom {

// The current drawing at 1x, 2x and 4x side by side: each cell a square of
// 1, 2 or 4 logical pixels, no smoothing and no grid lines, a thin frame
// around each copy and its factor underneath.
class SpritePreview : public QWidget {
    Q_OBJECT
public:
    explicit SpritePreview(QWidget* parent = nullptr);

    // Repaints only when the drawing changed.
    void setDrawing(const Grid& grid);
    const QImage& image() const { return mImage; }

    // Where the copy at `scale` (1, 2 or 4) is drawn, frame excluded.
    QRect copyRect(int scale) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Grid mDrawing;
    QImage mImage;
};

} // namespace bitloom
