#pragma once

#include "codegen/declaration.h"
#include "model/grid.h"

#include <array>
#include <cstdint>

namespace bitloom {

// One plane of a drawing as its eight row bytes, row 0 first.
using PlaneBytes = std::array<std::uint8_t, kGridSide>;

// Cell 8r + m is bit m of byte r, so the leftmost cell of a row is its top
// bit. A cell sets its bit in the light plane when it is grey or black, in
// the dark plane when it is dark grey or black; an unpainted cell sets none.
PlaneBytes encodePlane(const Grid& grid, Plane plane);

} // namespace bitloom
