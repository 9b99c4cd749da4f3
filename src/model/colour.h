#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace bitloom {

// A colour as the window system stores it: below 0x01000000 an RGB value
// (red in the lowest byte), with the top bit set a reference to a system
// colour. Two colours are the same only when the 32-bit values are equal.
using Colour = std::uint32_t;

// A shade is a palette index, 0 to 3; shades are 16-bit as cell indices are.
using Shade = std::int16_t;

// Every cell starts as the system window-background colour, which is not
// equal to any palette colour even where it looks white.
inline constexpr Colour kInitialCellColour = 0x80000005u;

inline constexpr int kPaletteSize = 4;
using Palette = std::array<Colour, kPaletteSize>;

// Shade 0 white, 1 grey, 2 dark grey, 3 black. Bit 0 of a shade is the light
// plane, bit 1 the dark plane.
inline constexpr Palette kPalette = {0x00FFFFFFu, 0x00808080u, 0x00404040u, 0x00000000u};

// The shade whose colour equals `colour` exactly, or none.
constexpr std::optional<Shade> shadeOf(const Palette& palette, Colour colour)
{
    for (int i = 0; i < kPaletteSize; ++i) {
        if (palette[static_cast<std::size_t>(i)] == colour)
            return static_cast<Shade>(i);
    }
    return std::nullopt;
}

} // namespace bitloom
