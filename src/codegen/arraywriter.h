#pragma once

#include "codegen/tilelayout.h"
#include "model/grid.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Whole headers written from drawings: one array of tiles in one of the
// tile layouts, or the program's own light/dark pairs. What `convert`
// writes and what the window's C array export writes.
namespace bitloom {

// What a header holds: one array in a tile layout, or, with none, a light
// and a dark declaration per drawing ("pairs").
using OutputLayout = std::optional<TileLayout>;

inline constexpr std::string_view kPairsLayoutId = "pairs";

// "gb", ..., "columns" or "pairs".
std::string_view outputLayoutId(const OutputLayout& layout);
// Sets `layout` to the output layout an id names (exactly); false when it
// names none.
bool parseOutputLayoutId(std::string_view id, OutputLayout& layout);

// How the declarations are written.
//   Own:     the program's own: pairs exactly as the window adds a new
//            sprite ("static unsigned char NAMElight[]={0x5A,...};"); an
//            array with the same head, "static unsigned char NAME[N] = {".
//   Const:   "const uint8_t NAME[N] = {" for an array, and pairs as
//            "const uint8_t NAMElight[8] = {0x5a,...};".
//   Progmem: as Const with "PROGMEM" after the bounds, and
//            <avr/pgmspace.h> included.
// Every style reads back as what it was written from.
enum class ArrayStyle { Own, Const, Progmem };

// "own", "const", "progmem".
std::string_view styleId(ArrayStyle style);
std::optional<ArrayStyle> parseStyleId(std::string_view id);
// Own for pairs, Const for arrays.
ArrayStyle defaultStyle(const OutputLayout& layout);

// One drawing to write: its name where it came from ("hero", "ufo[3]",
// "tiles5") and, when the line of its bytes in the source carried a comment
// naming it, that label, which the output's comment keeps.
struct SourceDrawing {
    std::string name;
    Shades shades{};
    std::string label;

    // What the output's comment says about the drawing: the label, else the name.
    const std::string& comment() const { return label.empty() ? name : label; }
};

struct HeaderRequest {
    OutputLayout layout;
    std::string arrayName; // a C identifier; for pairs it names the count define only
    ArrayStyle style = ArrayStyle::Const;
    std::string fileName; // the output's file name without folders, for the include guard
};

struct WrittenHeader {
    std::string text;
    // Names (as in SourceDrawing::name) of the drawings whose grey or dark
    // grey a one-bit layout mapped to white or black, in order.
    std::vector<std::string> mappedSprites;
};

// The complete header: an include guard from the file name, <stdint.h>
// (and <avr/pgmspace.h> for Progmem), "// layout: ID, N tiles", the define
// NAME_TILE_COUNT and the array with one tile a line, its bytes in lower-case
// hex followed by "// " and the drawing's comment(). For pairs, the
// declarations of each drawing under the name pairNames() gives it, the
// light one followed by "// " and its comment() when that differs from it.
// Line ends are "\n".
WrittenHeader writeHeader(const std::vector<SourceDrawing>& drawings, const HeaderRequest& request);

// The lines of an array's body: one tile a line, indented by four spaces,
// its bytes in lower-case hex each followed by ",", then "// " and the
// drawing's comment(), each line ended by `lineEnd`. Adds to
// `mappedSprites` the drawings whose greys a one-bit layout mapped.
std::string tileLines(TileLayout layout, const std::vector<SourceDrawing>& drawings, std::string_view lineEnd,
                      std::vector<std::string>& mappedSprites);

// The include guard for a file name: letters in upper case, every other
// character '_', "_H" for ".h"; "H_" goes before one that would not begin
// with a letter. "tiles.h" -> "TILES_H", "8x8 font.h" -> "H_8X8_FONT_H".
std::string includeGuard(std::string_view fileName);

// A C identifier from a file's stem (UTF-8): every character that cannot
// appear in one becomes '_', a leading digit too, and a C keyword gets a
// trailing '_'. "game tiles" -> "game_tiles".
std::string identifierFromStem(std::string_view stem);

// The sprite names pairs give drawings of these source names, in order: a
// tile "ufo[3]" becomes "ufo_3", and other names stay. A name taken (by
// another drawing that is no tile, which keeps its name, or by one before)
// gets "_2", "_3", ... instead.
std::vector<std::string> pairNames(const std::vector<std::string>& sourceNames);

} // namespace bitloom
