#include "transform.h"

#include <cstddef>
#include <utility>

namespace bitloom {

namespace {

// The grid whose cell at (row, column) comes from `source(row, column)` of
// the original, both counted from the top-left.
template <typename Source>
Grid remapped(const Grid& grid, Source source)
{
    Grid result{};
    for (int row = 0; row < kGridSide; ++row) {
        for (int column = 0; column < kGridSide; ++column) {
            const auto [fromRow, fromColumn] = source(row, column);
            result[std::size_t(cellAt(row, column))] = grid[std::size_t(cellAt(fromRow, fromColumn))];
        }
    }
    return result;
}

constexpr int kLast = kGridSide - 1;

int wrapped(int index)
{
    return ((index % kGridSide) + kGridSide) % kGridSide;
}

} // namespace

Grid flippedHorizontally(const Grid& grid)
{
    return remapped(grid, [](int row, int column) { return std::pair(row, kLast - column); });
}

Grid flippedVertically(const Grid& grid)
{
    return remapped(grid, [](int row, int column) { return std::pair(kLast - row, column); });
}

Grid rotatedClockwise(const Grid& grid)
{
    // The new top row is the old left column read bottom to top.
    return remapped(grid, [](int row, int column) { return std::pair(kLast - column, row); });
}

Grid rotatedAnticlockwise(const Grid& grid)
{
    return remapped(grid, [](int row, int column) { return std::pair(column, kLast - row); });
}

Grid shifted(const Grid& grid, int rows, int columns)
{
    return remapped(
        grid, [=](int row, int column) { return std::pair(wrapped(row - rows), wrapped(column - columns)); });
}

Grid invertedShades(const Grid& grid)
{
    Grid result{};
    for (std::size_t k = 0; k < grid.size(); ++k) {
        const Cell shade = isShade(grid[k]) ? grid[k] : Cell::White;
        // White <-> black and grey <-> dark grey: both plane bits flip.
        result[k] = shadeOfBits(!lightBit(shade), !darkBit(shade));
    }
    return result;
}

Shades painted(const Grid& grid)
{
    Shades result = grid;
    for (Cell& cell : result) {
        if (!isShade(cell))
            cell = Cell::White;
    }
    return result;
}

} // namespace bitloom
