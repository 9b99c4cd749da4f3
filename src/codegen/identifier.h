#pragma once

#include <string>
#include <string_view>

namespace bitloom {

// Why a word is not a valid C identifier.
enum class IdentifierProblem {
    None,         // a valid identifier
    Empty,        // no characters at all
    LeadingDigit, // begins with 0-9
    BadCharacter, // holds a character other than A-Z, a-z, 0-9 and '_'
    Keyword,      // a keyword of C (C89 up to C23)
};

struct IdentifierCheck {
    IdentifierProblem problem = IdentifierProblem::None;
    // For BadCharacter: the first offending character, whole (UTF-8).
    std::string character;
};

// Checks `word` (UTF-8) against the portable C identifier rules: the basic
// Latin letters, digits and '_', no leading digit, no keyword.
IdentifierCheck checkIdentifier(std::string_view word);

// Whether `word` is a keyword of C89, C99, C11 or C23.
bool isCKeyword(std::string_view word);

} // namespace bitloom
