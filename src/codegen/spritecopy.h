#pragma once

#include "model/grid.h"

#include <optional>
#include <string>
#include <string_view>

namespace bitloom {

// A sprite as text, for the clipboard: its two declarations, and back.

// The lines of the light and the dark declaration of `name` exactly as
// `text` holds them, light first, each ending in a line end; none unless
// both are there and readable.
std::optional<std::string> declarationsText(std::string_view text, std::string_view name);

// The declarations a new sprite `name` with this drawing would get in an
// empty text, as the program writes them.
std::string generatedDeclarations(std::string_view name, const Grid& grid);

// The drawing of the first sprite whose light and dark declarations `text`
// both holds, readable, in any shape the reader accepts; none when it holds
// no such pair. A cell whose light bit alone is set is grey, dark bit alone
// dark grey, both black, neither white.
std::optional<Shades> firstDeclaredDrawing(std::string_view text);

} // namespace bitloom
