#pragma once

#include "codegen/tilelayout.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// Which byte arrays of a file are tiles, and in which layout: what the user
// chose, else what the file says, else a guess from the array's name and size.
namespace bitloom {

// A byte array as the file declares it.
struct ByteArray {
    std::string name;
    std::size_t position = 0;          // where the declaration starts in the text
    std::optional<int> innerDimension; // M of [N][M], for two-dimensional arrays
    std::vector<std::uint8_t> bytes;
};

// What the file says about layouts, gathered once for all its arrays.
struct FileClues {
    // A clue naming a layout: a comment, an include or a call.
    struct Clue {
        TileLayout layout = TileLayout::Gb;
        std::size_t position = 0;
        // For calls: the text between the parentheses, to see which arrays
        // the call draws.
        std::string arguments;
    };
    std::vector<Clue> layoutComments;                 // "layout: ID", each for the arrays after it
    std::optional<TileLayout> formatComment;          // a comment naming the format
    bool compressed = false;                          // "Compression : X", X not None
    std::vector<Clue> platformClues;                  // Game Boy, NES and Arduboy includes and calls
    std::vector<Clue> drawCalls;                      // drawXBM, drawBitmap
    std::vector<Clue> libraryIncludes;                // Adafruit_GFX.h, U8glib.h, U8g2lib.h
    std::map<std::string, long, std::less<>> defines; // #define NAME integer
};

// Reads comments, includes, calls and integer defines from a file's text.
FileClues readFileClues(std::string_view text);

// What the user chose for one array: a layout, or Not Tiles, and maybe a width.
struct LayoutChoice {
    std::optional<TileLayout> layout;
    bool notTiles = false;
    std::optional<int> width;
};

enum class LayoutSource { Choice, File, Size };

// "· your choice", "· from the file's comment" (for includes, calls and
// defines too), "· guessed from its size": what the status bar adds after
// the layout's menu text.
std::string_view layoutSourceSuffix(LayoutSource source);
// "Game Boy (2 bits, interleaved) · from the file's comment".
std::string layoutStatusText(TileLayout layout, LayoutSource source);

struct LayoutDetection {
    // The array read as tiles, or none when it is not a tile array.
    std::optional<TileImage> image;
    LayoutSource source = LayoutSource::Size;
    // The array looks like bitmap data (a layout was chosen or said for it,
    // or its name suggests pictures) but its bytes fit no layout: `check`
    // warns about it.
    bool fitsNoLayout = false;
};

// Names that suggest pictures: they contain tile, sprite, spr, font, chr,
// gfx, bmp, bitmap, img, image, icon, logo, glyph or cursor, in any case.
bool hasPictureName(std::string_view name);

// Decides how one array of the file is read; `choice` is the user's and
// overrides the rest. Then, strongest first: the last "layout: ID" comment
// before the array; a comment naming the format (a compression other than
// None makes nothing tiles); XBM defines named like the array (rows-lsb, at
// their size); a Game Boy, NES or Arduboy call or a drawing call that names
// the array; for arrays whose name suggests pictures or which have size
// defines, the file's first Game Boy, NES or Arduboy include or call, else its
// first drawing call, else its first graphics library include; WIDTH and
// HEIGHT defines alone (rows, as Adafruit GFX draws them); in a file for
// Arduboy, or for a picture-like name, a width and height header that matches
// the length; last, for picture-like names, the shape.
LayoutDetection detectLayout(const FileClues& clues, const ByteArray& array, const LayoutChoice& choice = {});

// "NAME looks like bitmap data but fits no layout", for `check`.
std::string fitsNoLayoutWarning(std::string_view name);

// A --layout value: "ID" for every array, or "NAME=ID[:WIDTH]" for one.
struct LayoutOption {
    std::optional<std::string> array; // none: every array
    TileLayout layout = TileLayout::Gb;
    std::optional<int> width;

    bool operator==(const LayoutOption&) const = default;
};
// The option, or the message saying why the value is wrong.
std::variant<LayoutOption, std::string> parseLayoutOption(std::string_view value);

// The choice the --layout options make for an array: the last option naming
// it, else the last one for every array, else none.
LayoutChoice choiceFromOptions(const std::vector<LayoutOption>& options, std::string_view array);

} // namespace bitloom
