#include "encoder.h"

namespace bitloom {

std::string encodePlane(Shade setA, Shade setB, const Grid& grid, const Palette& palette)
{
    const Colour colourA = palette[static_cast<std::size_t>(setA)];
    const Colour colourB = palette[static_cast<std::size_t>(setB)];
    const auto bit = [&](int k) {
        const Colour c = grid[static_cast<std::size_t>(k)];
        return (c == colourA || c == colourB) ? 1 : 0;
    };
    static constexpr char kDigits[] = "0123456789ABCDEF";

    std::string plane;
    plane.reserve(40);
    // i is the leftmost cell of each row: 7, 15, ..., 63.
    for (int i = 7; i < kCellCount; i += kGridSide) {
        const int high = 8 * bit(i) + 4 * bit(i - 1) + 2 * bit(i - 2) + bit(i - 3);
        const int low = 8 * bit(i - 4) + 4 * bit(i - 5) + 2 * bit(i - 6) + bit(i - 7);
        plane += "0x";
        plane += kDigits[high];
        plane += kDigits[low];
        plane += ',';
    }
    return plane;
}

PlaneStrings encodePlanes(const Grid& grid, const Palette& palette)
{
    return {encodePlane(kLightSetA, kLightSetB, grid, palette),
            encodePlane(kDarkSetA, kDarkSetB, grid, palette)};
}

} // namespace bitloom
