#pragma once

#include "colour.h"
#include "grid.h"

namespace bitloom {

// Whole-drawing transforms. Each moves or recolours the 64 cells of a grid
// and nothing else; cells keep their colours as they are, unpainted ones
// included, except where a function says otherwise.

// Mirrors left and right.
Grid flippedHorizontally(const Grid& grid);
// Mirrors top and bottom.
Grid flippedVertically(const Grid& grid);
// Turns a quarter turn clockwise: the left column becomes the top row.
Grid rotatedClockwise(const Grid& grid);
// Turns a quarter turn anticlockwise: the top row becomes the left column.
Grid rotatedAnticlockwise(const Grid& grid);
// Moves every cell `rows` down and `columns` right (negative: up, left);
// what leaves one edge comes back at the opposite one.
Grid shifted(const Grid& grid, int rows, int columns);
// Swaps white and black, and grey and dark grey. A cell of no palette
// colour counts as white and becomes black.
Grid invertedShades(const Grid& grid, const Palette& palette);
// Cells of no palette colour become white: the grid then shows exactly what
// its code and its stored drawing hold.
Grid painted(const Grid& grid, const Palette& palette);

} // namespace bitloom
