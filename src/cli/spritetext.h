#pragma once

#include "codegen/tilearrays.h"
#include "model/tilesheet.h"

#include <string>
#include <string_view>

namespace bitloom::cli {

// Sprites drawn in text, for a terminal and for diffs: one character a
// cell, '.' white, '+' grey, '*' dark grey, '#' black.

// Row `row` (0 at the top) of a drawing, eight characters, left to right.
std::string pictureRow(const Shades& codes, int row);

// The name line of a tile array's picture: "NAME[i] (ID)" for a tile,
// "NAME (ID, W×H)" for an image wider than 8, which is drawn once, whole.
std::string tileNameLine(const TileArray& array, int index);
std::string imageNameLine(const TileArray& array);

// For each sprite the text declares, in file order: its name on a line,
// its eight rows, an empty line. Then the tile arrays, as `choose` and the
// text decide their layouts: each tile so, named "NAME[i] (ID)", or an image
// wider than 8 once, whole, its rows as wide as the image.
std::string spriteListing(std::string_view text, const LayoutChooser& choose = {});

// The text unchanged, with each sprite's picture added as eight "// " lines
// after the line on which its dark declaration ends (its light one when it
// has no dark one), and each tile array's pictures, every one after its
// name line, as "// " lines after the line on which the array ends.
std::string annotatedText(std::string_view text, const LayoutChooser& choose = {});

} // namespace bitloom::cli
