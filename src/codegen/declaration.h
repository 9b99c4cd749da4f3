#pragma once

#include <cstddef>
#include <string_view>

namespace bitloom {

// The two planes a sprite owns in the code text, each in a declaration of
// its own, NAMElight and NAMEdark. Their grammar is in codegen/grammar.h.
enum class Plane { Light, Dark };

// Where the first line of a text begins: after a UTF-8 byte-order mark, if
// there is one. Every other line begins after a line feed.
std::size_t firstLineStart(std::string_view text);

} // namespace bitloom
