#pragma once

#include "codegen/textedit.h"

#include <string_view>
#include <vector>

namespace bitloom {

// The edits that give sprite `name` the name `newName`: only the identifiers
// of its light and dark declarations (the ones an update writes) change,
// whatever their shape, and nothing else in the text. Applied in order.
// None when the text holds no light declaration of `name`, or when the
// renamed declarations would not read back under `newName` (a name that
// holds declaration syntax, for instance).
std::vector<TextEdit> renameSprite(std::string_view text, std::string_view name, std::string_view newName);

} // namespace bitloom
