#include "encoder.h"

namespace bitloom {

PlaneBytes encodePlane(const Grid& grid, Plane plane)
{
    // A shade's code holds its light bit as bit 0 and its dark bit as bit 1.
    const int planeBit = plane == Plane::Light ? 1 : 2;
    PlaneBytes bytes{};
    for (int row = 0; row < kGridSide; ++row) {
        unsigned value = 0;
        for (int m = 0; m < kGridSide; ++m) {
            const Cell cell = grid[static_cast<std::size_t>(row * kGridSide + m)];
            if (isShade(cell) && (codeOf(cell) & planeBit) != 0)
                value |= 1u << m;
        }
        bytes[static_cast<std::size_t>(row)] = static_cast<std::uint8_t>(value);
    }
    return bytes;
}

} // namespace bitloom
