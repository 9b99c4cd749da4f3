#pragma once

#include "model/grid.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bitloom {

// The largest file that is opened as a code text.
inline constexpr std::size_t kMaxCodeTextBytes = 4u * 1024u * 1024u;

// Why bytes cannot become a code text.
enum class CodeTextRefusal {
    TooLarge, // more than kMaxCodeTextBytes
    NulByte,  // not a text file
    NotUtf8,
};

// Why `bytes` cannot become a code text, or nothing when it can.
std::optional<CodeTextRefusal> refusalForCodeText(std::string_view bytes);

// A sprite as a code text declares it: its name and the shade of
// every cell.
struct DeclaredSprite {
    std::string name;
    Shades shades{};
};

// Every sprite whose light declaration the updater would find for its name
// and can read, in order of appearance. Its drawing comes from that light
// declaration and the dark one the updater would find for the name: light
// bit only grey, dark bit only dark grey, both black, neither white. An
// unreadable declaration registers nothing: a sprite whose light one is
// unreadable is left out, and an unreadable dark one counts as no dark bits.
// The lines (1-based, in order) of every unreadable declaration are added to
// `unreadableLines` when it is given.
std::vector<DeclaredSprite> readDeclarations(std::string_view text,
                                             std::vector<int>* unreadableLines = nullptr);

} // namespace bitloom
