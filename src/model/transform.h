#pragma once

#include "grid.h"

namespace bitloom {

// Whole-drawing transforms. Each moves or recolours the 64 cells of a grid
// and nothing else; cells keep their states as they are, unpainted ones
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
// Swaps white and black, and grey and dark grey. An unpainted cell counts
// as white and becomes black.
Grid invertedShades(const Grid& grid);
// Unpainted cells become white: the grid then shows exactly what its code
// and its stored drawing hold, and is a drawing the table can store.
Shades painted(const Grid& grid);

} // namespace bitloom
