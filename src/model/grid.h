#pragma once

#include "colour.h"

#include <array>

namespace bitloom {

// The 8 x 8 drawing: 64 cell colours. Cell k lies in row k / 8 from the top
// and column k % 8 counted from the RIGHT, so cell 0 is the top-right cell
// and cell 63 the bottom-left one.
inline constexpr int kCellCount = 64;
inline constexpr int kGridSide = 8;

using Grid = std::array<Colour, kCellCount>;

// The palette index of every cell of a drawing, as the sprite table stores it.
using Shades = std::array<Shade, kCellCount>;

constexpr Grid initialGrid()
{
    Grid grid{};
    grid.fill(kInitialCellColour);
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
