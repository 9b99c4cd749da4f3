#include "encoder.h"

namespace bitloom {

PlaneBytes encodePlane(const Grid& grid, Plane plane)
{
    const auto sets = plane == Plane::Light ? lightBit : darkBit;
    PlaneBytes bytes{};
    for (int row = 0; row < kGridSide; ++row) {
        unsigned value = 0;
        for (int m = 0; m < kGridSide; ++m) {
            if (sets(grid[static_cast<std::size_t>(row * kGridSide + m)]))
                value |= 1u << m;
        }
        bytes[static_cast<std::size_t>(row)] = static_cast<std::uint8_t>(value);
    }
    return bytes;
}

} // namespace bitloom
