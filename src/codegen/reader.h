#pragma once

#include "codegen/declaration.h"
#include "model/colour.h"
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

// A sprite as a code text declares it: its name, the palette code of every
// cell, and the lines (1-based) whose bytes could not all be read.
struct DeclaredSprite {
    std::string name;
    Shades shades{};
    std::vector<int> unreadableLines;
};

// Every sprite whose light declaration the updater would find for its name,
// in order of appearance. Its drawing comes from that light line and the dark
// line the updater would find for the name: light bit only grey, dark bit
// only dark grey, both black, neither white. A row whose bytes cannot be
// read stays white.
std::vector<DeclaredSprite> readDeclarations(std::string_view text);

// Whether the declaration on `line` (as parseDeclarationLine took it apart)
// holds exactly eight readable bytes, as readDeclarations needs them.
bool declarationReadable(std::string_view line, const DeclarationLine& declaration);

} // namespace bitloom
