#pragma once

// Grids drawn as they look on screen: eight rows of eight characters, the
// leftmost character the leftmost cell.
//   '.' white   '+' grey   'o' dark grey   '#' black   '_' never painted
#include "model/grid.h"
#include "printcell.h"

#include <array>
#include <string_view>

namespace bitloom::test {

inline Grid gridOf(const std::array<std::string_view, kGridSide>& rows)
{
    constexpr std::string_view symbols = ".+o#";
    Grid grid{};
    for (std::size_t row = 0; row < rows.size(); ++row) {
        for (std::size_t fromLeft = 0; fromLeft < kGridSide; ++fromLeft) {
            const auto code = symbols.find(rows[row].at(fromLeft));
            grid[row * kGridSide + (kGridSide - 1 - fromLeft)] =
                code == std::string_view::npos ? Cell::Unpainted : shadeOfCode(int(code));
        }
    }
    return grid;
}

inline Grid filledGrid(Cell cell)
{
    Grid grid{};
    grid.fill(cell);
    return grid;
}

} // namespace bitloom::test
