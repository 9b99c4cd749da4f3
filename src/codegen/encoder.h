#pragma once

#include "model/colour.h"
#include "model/grid.h"

#include <string>

namespace bitloom {

// The two palette codes whose colours set a bit in each plane.
inline constexpr Shade kLightSetA = 1, kLightSetB = 3; // grey, black
inline constexpr Shade kDarkSetA = 2, kDarkSetB = 3;   // dark grey, black

// One plane as eight items "0xHH," (row 0 first, leftmost cell the most
// significant bit, upper-case digits): 40 characters ending in ",".
// A cell sets its bit when its colour equals palette colour setA or setB.
std::string encodePlane(Shade setA, Shade setB, const Grid& grid, const Palette& palette);

struct PlaneStrings {
    std::string lightString;
    std::string darkString;
};

// Both planes, light first.
PlaneStrings encodePlanes(const Grid& grid, const Palette& palette);

} // namespace bitloom
