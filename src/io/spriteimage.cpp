#include "spriteimage.h"

#include "io/palette.h"

#include <algorithm>

namespace bitloom {

namespace {

// Draws the 64 shades with their top-left pixel at (left, top), each cell a
// square of `scale` pixels.
void paintShades(QImage& image, const Shades& shades, int left, int top, int scale)
{
    for (int cell = 0; cell < kCellCount; ++cell) {
        const QRgb rgb = shadeRgb(shades[std::size_t(cell)]);
        const int x0 = left + columnFromLeft(cell) * scale;
        const int y0 = top + rowOf(cell) * scale;
        for (int y = y0; y < y0 + scale; ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            std::fill(line + x0, line + x0 + scale, rgb);
        }
    }
}

} // namespace

QImage spriteImage(const Shades& shades, int scale)
{
    scale = std::max(scale, 1);
    QImage image(kGridSide * scale, kGridSide * scale, QImage::Format_RGB32);
    paintShades(image, shades, 0, 0, scale);
    return image;
}

QImage drawingImage(const Grid& grid)
{
    QImage image(kGridSide, kGridSide, QImage::Format_RGB32);
    for (int cell = 0; cell < kCellCount; ++cell) {
        image.setPixel(columnFromLeft(cell), rowOf(cell), toQColor(grid[std::size_t(cell)]).rgb());
    }
    return image;
}

QImage sheetImage(const std::vector<Shades>& sprites)
{
    const PixelSize size = sheetSize(int(sprites.size()));
    if (size.width == 0)
        return {};
    QImage image(size.width, size.height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (std::size_t i = 0; i < sprites.size(); ++i) {
        const PixelPoint at = tileOrigin(int(i));
        paintShades(image, sprites[i], at.x, at.y, 1);
    }
    return image;
}

} // namespace bitloom
