#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace bitloom {

// The two one-line declarations a sprite owns in the code text:
//   static unsigned char NAMElight[]={0x..,...};
//   static unsigned char NAMEdark[]={0x..,...};
// Everything that writes, finds, reads or colours them takes their shape
// from here.
enum class Plane { Light, Dark };

inline constexpr std::ptrdiff_t kNotFound = -1;

// "static unsigned char ", the words before the name.
std::string_view declarationType();

// What follows the name: "light[]={" or "dark[]={".
std::string_view declarationHead(Plane plane);

// "static unsigned char " + name + "light[]={" (or "dark[]={").
std::string declarationOpening(std::string_view name, Plane plane);

// What is appended when a declaration is missing: line feed, opening, "};".
std::string emptyDeclaration(std::string_view name, Plane plane);

// Where the first line of a text begins: after a UTF-8 byte-order mark, if
// there is one. Every other line begins after a line feed.
std::size_t firstLineStart(std::string_view text);

// Index of the first character of the name's declaration line, or kNotFound.
// A declaration counts only at the start of a line, so "A" never matches
// inside "BA"; and only the name's own line counts: a longer name that
// begins with this name and a declaration head is not taken for it.
std::ptrdiff_t findDeclaration(std::string_view text, std::string_view name, Plane plane);

// A declaration line taken apart: whose it is and where its bytes stand.
struct DeclarationLine {
    Plane plane;
    std::string_view name;
    std::size_t bodyStart;                // just after "{", within the line
    std::optional<std::size_t> bodyEnd;   // the "}" on the same line, if any
};

// Reads one line (without its line feed) as a declaration. The name is what
// stands between the type and the line's last declaration head, which is
// the one line that findDeclaration would find for that name.
std::optional<DeclarationLine> parseDeclarationLine(std::string_view line);

} // namespace bitloom
