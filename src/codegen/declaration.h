#pragma once

#include "codegen/codepane.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace bitloom {

// The two one-line declarations a sprite owns in the code text.
enum class Plane { Light, Dark };

// What follows the name in a declaration: "light[]={" or "dark[]={".
std::string_view declarationHead(Plane plane);

// "static unsigned char " + name + "light[]={" (or "dark[]={").
std::string declarationOpening(std::string_view name, Plane plane);

// What a declaration is found by: a line feed and its whole opening, so
// that "A" never matches inside "BA" and the empty name never matches
// another sprite's line.
std::string declarationKey(std::string_view name, Plane plane);

// What is appended when a declaration is missing: line feed, opening, "};".
std::string emptyDeclaration(std::string_view name, Plane plane);

// Index of the line feed that starts the name's declaration in the pane's
// text, or CodePane::npos. Only the name's own line counts: a longer name
// that begins with this name and a declaration head is not taken for it.
std::ptrdiff_t findDeclaration(const CodePane& pane, std::string_view name, Plane plane);

} // namespace bitloom
