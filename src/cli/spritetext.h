#pragma once

#include "model/tilesheet.h"

#include <string>
#include <string_view>

namespace bitloom::cli {

// Sprites drawn in text, for a terminal and for diffs: one character a
// cell, '.' white, '+' grey, '*' dark grey, '#' black.

// Row `row` (0 at the top) of a drawing, eight characters, left to right.
std::string pictureRow(const Shades& codes, int row);

// For each sprite the text declares, in file order: its name on a line,
// its eight rows, an empty line.
std::string spriteListing(std::string_view text);

// The text unchanged, with each sprite's picture added as eight "// " lines
// after the line on which its dark declaration ends (its light one when it
// has no dark one).
std::string annotatedText(std::string_view text);

} // namespace bitloom::cli
