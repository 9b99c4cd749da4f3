#pragma once

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

} // namespace bitloom
