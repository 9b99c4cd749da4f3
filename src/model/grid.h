#pragma once

#include "cell.h"

#include <array>

namespace bitloom {

// The 8 x 8 drawing: 64 cells. Cell k lies in row k / 8 from the top and
// column k % 8 counted from the RIGHT, so cell 0 is the top-right cell and
// cell 63 the bottom-left one.
inline constexpr int kCellCount = 64;
inline constexpr int kGridSide = 8;

using Grid = std::array<Cell, kCellCount>;

// A stored drawing, as the sprite table keeps it: the shade of every cell,
// laid out as a grid. It never holds Cell::Unpainted.
using Shades = std::array<Cell, kCellCount>;

constexpr Grid initialGrid()
{
    Grid grid{};
    grid.fill(Cell::Unpainted);
    return grid;
}

constexpr int rowOf(int cell)
{
    return cell / kGridSide;
}
constexpr int columnFromRight(int cell)
{
    return cell % kGridSide;
}
constexpr int columnFromLeft(int cell)
{
    return kGridSide - 1 - cell % kGridSide;
}
// The cell in `row` from the top and `column` counted from the left.
constexpr int cellAt(int row, int column)
{
    return row * kGridSide + kGridSide - 1 - column;
}

} // namespace bitloom
