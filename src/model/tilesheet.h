#pragma once

#include "grid.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bitloom {

// Sprite drawings as images: the four greys chosen for arbitrary pixels, the
// limits of an import and the layout of a sheet of tiles. Images themselves are the window layer's business;
// here a picture is a row-major array of 8-bit RGBA pixels.

// One imported 8 x 8 tile: the sprite name it gets and its drawing.
struct Tile {
    std::string name;
    Shades shades{};
};

struct Rgba {
    std::uint8_t r = 0, g = 0, b = 0, a = 255;
};

inline constexpr int kTileSide = kGridSide;
inline constexpr int kSheetColumns = 16;
inline constexpr int kMaxImportSide = 1024;
// The most tiles an accepted image holds.
inline constexpr int kMaxSheetTiles = (kMaxImportSide / kTileSide) * (kMaxImportSide / kTileSide);
// Pixels less opaque than this are taken as white.
inline constexpr int kOpaqueEnough = 128;

// The shade nearest to the pixel's luminance (weights 0.299, 0.587, 0.114).
// Equally near two shades, the lighter one wins. A pixel less than half
// opaque is white.
Cell nearestShade(Rgba pixel);

// Whether the pixel is one of the four greys exactly and fully opaque; any
// other pixel takes the nearest grey, which changes its colour.
bool isPaletteGrey(Rgba pixel);

// How many pixels of the first `count` tiles of a `width`-pixel-wide
// picture, cut as cutTiles cuts it, are not one of the four greys.
int pixelsNotGrey(const std::vector<Rgba>& pixels, int width, int count);

// Tile `index` of a file: the stem followed by the index, e.g. "hero0".
std::string tileName(std::string_view stem, int index);

// Why an image cannot be imported.
struct ImportRefusal {
    enum class Reason {
        Empty,          // no pixels at all
        TooLarge,       // wider or higher than kMaxImportSide
        NotTileAligned, // width or height not a multiple of 8
        NoRoom,         // more new names than free table entries
    };
    Reason reason;
    int width = 0;
    int height = 0;
    int tiles = 0;       // tiles in the image (NoRoom)
    int newNames = 0;    // of those, the ones that need a new entry (NoRoom)
    int freeEntries = 0; // (NoRoom)
};

// Refuses an image of this size, or accepts it (none).
std::optional<ImportRefusal> sizeRefusal(int width, int height);

// Cuts a width x height picture (row-major, already accepted by
// sizeRefusal) into tiles, left to right, top to bottom, named
// tileName(stem, index). Trailing tiles of the last row that are entirely
// transparent are the padding of a sheet and are left out.
std::vector<Tile> cutTiles(const std::vector<Rgba>& pixels, int width, int height, std::string_view stem);

// Refuses an import that needs more new entries than are free: tiles whose
// names `existingNames` already holds reuse their entries.
std::optional<ImportRefusal> roomRefusal(const std::vector<Tile>& tiles,
                                         const std::vector<std::string>& existingNames, int freeEntries);

// A sheet of `count` tiles, 16 to a row: its size in pixels (0 x 0 for none)
// and where tile `index` has its top-left pixel.
struct PixelSize {
    int width = 0;
    int height = 0;
};
struct PixelPoint {
    int x = 0;
    int y = 0;
};
PixelSize sheetSize(int count);
PixelPoint tileOrigin(int index);

} // namespace bitloom
