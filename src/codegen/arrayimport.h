#pragma once

#include "codegen/arraywriter.h"
#include "codegen/textedit.h"

#include <string>
#include <string_view>
#include <vector>

// An image's tiles written into one array of a code text, in a tile layout:
// over the array's tiles, token by token, or as a new array.
namespace bitloom {

struct ArrayImport {
    enum class Outcome {
        Rewritten,    // the array's tiles hold the drawings; every other byte stays
        Appended,     // the text had no such array: a new one follows its last declaration
        CountDiffers, // the array holds another number of tiles: nothing changes
        NotTiles,     // the array's bytes are not whole tiles in that layout: nothing changes
        Unreadable,   // the array's body cannot be read: nothing changes
    };
    Outcome outcome = Outcome::Rewritten;
    TextEdit edit;
    int arrayTiles = 0;  // CountDiffers: the tiles the array holds
    std::string problem; // Unreadable: why
    // The drawings whose greys a one-bit layout mapped, by name.
    std::vector<std::string> mappedSprites;
};

// Writes `drawings` into the first array named `arrayName`, read in
// `layout` (with the width the file's defines give a one-bit image), when
// it holds as many tiles: each number keeps its notation. Without such an
// array, appends one after the last declaration, on the lines after it and
// with the text's line ends, with that declaration's head (qualifiers, type,
// attribute words) or "const uint8_t" when there is none, one tile a line as
// tileLines() writes them.
ArrayImport importIntoArray(std::string_view text, std::string_view arrayName, TileLayout layout,
                            const std::vector<SourceDrawing>& drawings);

} // namespace bitloom
