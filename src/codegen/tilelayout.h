#pragma once

#include "model/grid.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The byte layouts of 8 x 8 tiles that other tools write, and the images
// wider than 8 pixels that 1-bit layouts also hold: how each cell of a tile
// is read from an array's bytes and written back into them.
namespace bitloom {

enum class TileLayout { Gb, Nes, Rows, RowsLsb, Columns };

// Every layout, in menu order.
inline constexpr std::array<TileLayout, 5> kTileLayouts = {TileLayout::Gb, TileLayout::Nes, TileLayout::Rows,
                                                           TileLayout::RowsLsb, TileLayout::Columns};

// "gb", "nes", "rows", "rows-lsb", "columns": the name on the command line
// and in "layout: ID" comments.
std::string_view layoutId(TileLayout layout);
// The layout an id names (exactly, in lower case), or none.
std::optional<TileLayout> parseLayoutId(std::string_view id);
// The menu text, such as "Game Boy (2 bits, interleaved)".
std::string_view layoutMenuText(TileLayout layout);
// The menu item, with its mnemonic: "&Game Boy (2 bits, interleaved)".
std::string_view layoutMenuItem(TileLayout layout);
// 16 for the 2-bit layouts, 8 for the 1-bit ones.
int bytesPerTile(TileLayout layout);
// A 1-bit layout holds only white and black.
bool isOneBit(TileLayout layout);

// Where one cell's bits stand in an array: the byte index and the bit (0 is
// the least significant) of its low bit, and of its high bit for the 2-bit
// layouts (highByte -1 otherwise). A cell with lowByte -1 lies outside the
// image (an edge tile of an image whose size is no multiple of 8): it reads
// as white and is never written.
struct CellBits {
    int lowByte = -1;
    int lowBit = 0;
    int highByte = -1;
    int highBit = 0;
};

// The bits of one tile: cells indexed as in Shades (cell k in row k / 8, k % 8
// counted from the right), and every byte index the tile's cells use, in
// ascending order. Writing the tile changes those bytes and no other.
struct TileBits {
    std::array<CellBits, kCellCount> cells{};
    std::vector<int> bytes;
};

// An array read as tiles. For the 2-bit layouts the width is always 8 and the
// tiles follow each other, 16 bytes each. For the 1-bit layouts the array is
// an image `width` pixels wide and `height` high, after `header` bytes kept as
// they are (width and height, as Arduboy sprites carry them): rows of
// ceil(width / 8) bytes for rows and rows-lsb, pages of 8 pixel rows and
// `width` bytes for columns. An 8-wide image is a plain run of 8-byte tiles.
struct TileImage {
    TileLayout layout = TileLayout::Gb;
    int width = 8;
    int height = 0;
    int header = 0;

    int tilesAcross() const { return (width + 7) / 8; }
    int tilesDown() const { return (height + 7) / 8; }
    // Tiles left to right, top to bottom.
    int tileCount() const { return tilesAcross() * tilesDown(); }
    // Bytes the image takes, header included.
    std::size_t byteCount() const;
    // Only whole 8 x 8 tiles can be painted: an image whose width or height
    // is no multiple of 8 is shown but not edited.
    bool editable() const { return width % 8 == 0 && height % 8 == 0; }
    // Wider than one tile: `show` prints it once, whole.
    bool wide() const { return width > 8; }

    bool operator==(const TileImage&) const = default;
};

// The image an array of `length` bytes holds in `layout` at `width` pixels
// (ignored for the 2-bit layouts) after `header` bytes. The height follows
// from the length (for columns, whole pages) unless `height` gives it, which
// must then agree with the length. None when the bytes do not fill whole
// tiles (2-bit layouts) or whole rows or pages (1-bit layouts), or hold no
// pixel at all.
std::optional<TileImage> imageFor(TileLayout layout, std::size_t length, int width = 8, int header = 0,
                                  int height = 0);

// How many tiles such an array yields: 0 when it fits no image.
int tileCountFor(TileLayout layout, std::size_t length, int width = 8, int header = 0);

// The bits of tile `index` (0 to tileCount() - 1) of an image.
TileBits tileBits(const TileImage& image, int index);

// Reads a tile from the whole array's bytes; cells outside the image are white.
Shades readTile(const TileBits& bits, std::span<const std::uint8_t> array);
// Writes a tile into the whole array's bytes, changing only the tile's bits.
// On a 1-bit layout white and grey become 0 and dark grey and black 1; the
// result says whether a grey or dark grey was so mapped.
bool writeTile(const TileBits& bits, const Shades& shades, std::span<std::uint8_t> array);

// Every tile of an image, in order.
std::vector<Shades> readTiles(const TileImage& image, std::span<const std::uint8_t> array);

// One tile in its own bytes (bytesPerTile(layout) of them), as a plain array
// of one tile holds it.
Shades decodeTile(TileLayout layout, std::span<const std::uint8_t> bytes);

struct EncodedTile {
    std::vector<std::uint8_t> bytes;
    bool mappedShades = false; // a grey or dark grey became white or black
};
EncodedTile encodeTile(TileLayout layout, const Shades& shades);

// The whole image, row by row from the top, width x height shades; the
// header is left out.
std::vector<Cell> decodeImage(const TileImage& image, std::span<const std::uint8_t> array);

// "NAME[i]": the sprite name of tile i of an array.
std::string arrayTileName(std::string_view array, int index);
// The array name and index of a name written "NAME[i]" (i decimal, without
// leading zeros, so that each tile has one name), or none.
struct ArrayTileRef {
    std::string_view array;
    int index = 0;
};
std::optional<ArrayTileRef> parseArrayTileName(std::string_view name);
// "NAME[i] is not a tile of NAME": a typed name of that form is refused.
std::string notATileMessage(const ArrayTileRef& tile);
// The status text when grey is painted on a 1-bit tile:
// "NAME[i] has two shades: white and black".
std::string twoShadesMessage(std::string_view tile);

} // namespace bitloom
