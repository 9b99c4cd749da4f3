#pragma once

#include "codegen/grammar.h"
#include "codegen/layoutdetect.h"
#include "codegen/textedit.h"
#include "codegen/tilelayout.h"
#include "model/grid.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The tile arrays of a text: every readable byte array that is no sprite
// plane and whose bytes fit a layout, read as 8 x 8 tiles named NAME[i].
// They are derived from the text and the user's layout choices alone, so
// reading them again after any change (undo included) is always right.
namespace bitloom {

// The user's choice for an array, by its name; an empty function chooses
// nothing. The window remembers choices per file; the command line makes
// them from its --layout options.
using LayoutChooser = std::function<LayoutChoice(std::string_view array)>;

struct TileArray {
    std::string name;
    TileImage image;
    LayoutSource source = LayoutSource::Size;
    std::vector<grammar::NumberToken> numbers; // every number of the array, in text order
    std::vector<std::uint8_t> bytes;           // their values
    bool lowerHex = false;                     // the case new hex digits take
    std::size_t start = 0;                     // where its head begins
    std::size_t lineStart = 0;                 // its head line
    std::size_t lineEnd = 0;                   // the line end of its last line
    int line = 0;                              // 1-based, its head line
    int lastLine = 0;                          // 1-based, the line holding its ";"

    int tileCount() const { return image.tileCount(); }
    std::string tileName(int index) const { return arrayTileName(name, index); }
    Shades tile(int index) const;
    // The lines that hold the numbers of tile `index`: first and last text
    // offsets (first number's line start, last number's line end).
    std::pair<std::size_t, std::size_t> tileExtent(std::string_view text, int index) const;
};

struct TileArrays {
    std::vector<TileArray> arrays;
    // Byte arrays that look like bitmap data but fit no layout.
    std::vector<std::string> fitsNoLayout;

    int tileCount() const;
    // The array of that name, or null.
    const TileArray* find(std::string_view name) const;
};

// Reads the tile arrays among the byte arrays of `text`, as scanned.
TileArrays readTileArrays(std::string_view text, const std::vector<grammar::ByteArray>& scanned,
                          const LayoutChooser& choose = {});
TileArrays readTileArrays(std::string_view text, const LayoutChooser& choose = {});

// Writing a drawing into tile `index`: the edit rewrites only the numbers
// whose bytes change, each in its own notation (an empty edit when none
// does). None when the array's image cannot be edited.
struct TileEdit {
    TextEdit edit;
    bool mappedShades = false; // a 1-bit tile took grey as white, dark grey as black
};
std::optional<TileEdit> writeTileEdit(std::string_view text, const TileArray& array, int index,
                                      const Shades& drawing);

// Tile `index` as one line of its bytes in the array's layout, each number
// in the notation of the array's own numbers ("0x5a, 0x3c, ..."): what Copy
// puts on the clipboard for a tile, so that a paste into that file gives
// bytes of its kind.
std::string tileBytesText(std::string_view text, const TileArray& array, int index);

// The drawing a line of numbers gives as one tile in `layout`, in any
// notation the grammar reads, comments and a trailing comma allowed; none
// unless it holds exactly one tile's bytes.
std::optional<Shades> tileFromBytesText(std::string_view line, TileLayout layout);

} // namespace bitloom
