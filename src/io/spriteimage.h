#pragma once

#include "model/grid.h"
#include "model/tilesheet.h"

#include <QImage>

#include <vector>

namespace bitloom {

// Sprites drawn as images in the four greys.

// One sprite in the four greys, 8 x 8 pixels times `scale` (a whole factor,
// at least 1).
QImage spriteImage(const Shades& shades, int scale = 1);

// A drawing as it is shown: shades in their greys, unpainted cells
// in the colour the editor shows them in. 8 x 8 pixels.
QImage drawingImage(const Grid& grid);

// The sheet of `sprites`: 8 x 8 tiles in list order, 16 to a row; the rest
// of the last row is transparent. A null image for no sprites.
QImage sheetImage(const std::vector<Shades>& sprites);

} // namespace bitloom
