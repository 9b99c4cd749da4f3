#pragma once

// Grids drawn as they look on screen: eight rows of eight characters, the
// leftmost character the leftmost cell.
//   '.' white   '+' grey   'o' dark grey   '#' black   '_' never painted
#include "model/colour.h"
#include "model/grid.h"

#include <array>
#include <stdexcept>
#include <string_view>

namespace bitloom::test {

using Picture = std::array<std::string_view, kGridSide>;

inline Colour colourOfSymbol(char symbol)
{
    switch (symbol) {
    case '.': return kPalette[0];
    case '+': return kPalette[1];
    case 'o': return kPalette[2];
    case '#': return kPalette[3];
    case '_': return kInitialCellColour;
    default: throw std::invalid_argument("unknown picture symbol");
    }
}

inline Grid gridOf(const Picture& picture)
{
    Grid grid{};
    for (int row = 0; row < kGridSide; ++row) {
        if (picture[static_cast<std::size_t>(row)].size() != kGridSide)
            throw std::invalid_argument("picture rows hold eight cells");
        for (int fromLeft = 0; fromLeft < kGridSide; ++fromLeft) {
            const int cell = row * kGridSide + (kGridSide - 1 - fromLeft);
            grid[static_cast<std::size_t>(cell)] =
                colourOfSymbol(picture[static_cast<std::size_t>(row)][static_cast<std::size_t>(fromLeft)]);
        }
    }
    return grid;
}

inline Grid filledGrid(Colour colour)
{
    Grid grid{};
    grid.fill(colour);
    return grid;
}

} // namespace bitloom::test
