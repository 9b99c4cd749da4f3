#pragma once

#include <cstdint>

namespace bitloom {

// What one cell of the grid holds: one of the four shades, or nothing yet.
// A shade's value is its palette code, the index of its palette cell: bit 0
// is the light plane's bit, bit 1 the dark plane's. Every cell starts
// unpainted; an unpainted cell is none of the shades, even where it looks
// white: the store skips it and it sets no bit in either plane. Painting,
// clearing and recalling always leave a shade; only a new sheet, or Undo
// back to one, shows unpainted cells again.
enum class Cell : std::uint8_t { White, Grey, DarkGrey, Black, Unpainted };

// The shades are the first four values: White, Grey, DarkGrey, Black.
inline constexpr int kShadeCount = 4;

constexpr bool isShade(Cell cell)
{
    return static_cast<int>(cell) < kShadeCount;
}

// The shade with palette code `code` (0 to 3).
constexpr Cell shadeOfCode(int code)
{
    return static_cast<Cell>(code);
}

constexpr int codeOf(Cell shade)
{
    return static_cast<int>(shade);
}

// Whether the cell sets its bit in the light plane (grey, black) or the
// dark plane (dark grey, black); an unpainted cell sets neither.
constexpr bool lightBit(Cell cell)
{
    return cell == Cell::Grey || cell == Cell::Black;
}
constexpr bool darkBit(Cell cell)
{
    return cell == Cell::DarkGrey || cell == Cell::Black;
}

// The shade whose plane bits these are.
constexpr Cell shadeOfBits(bool light, bool dark)
{
    return static_cast<Cell>((light ? 1 : 0) | (dark ? 2 : 0));
}

} // namespace bitloom
