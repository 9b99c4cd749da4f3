#include "identifier.h"

#include <algorithm>
#include <iterator>

namespace bitloom {

namespace {

// The keywords of C89, C99, C11 and C23, sorted for the binary search.
// clang-format off
constexpr std::string_view kKeywords[] = {
    "_Alignas", "_Alignof", "_Atomic", "_BitInt", "_Bool", "_Complex", "_Decimal128", "_Decimal32",
    "_Decimal64", "_Generic", "_Imaginary", "_Noreturn", "_Static_assert", "_Thread_local", "alignas",
    "alignof", "auto", "bool", "break", "case", "char", "const", "constexpr", "continue", "default", "do",
    "double", "else", "enum", "extern", "false", "float", "for", "goto", "if", "inline", "int", "long",
    "nullptr", "register", "restrict", "return", "short", "signed", "sizeof", "static", "static_assert",
    "struct", "switch", "thread_local", "true", "typedef", "typeof", "typeof_unqual", "union", "unsigned",
    "void", "volatile", "while",
};
// clang-format on
static_assert(std::is_sorted(std::begin(kKeywords), std::end(kKeywords)));

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isIdentifierCharacter(char c)
{
    return isDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

// The whole UTF-8 character that begins at `at`.
std::string characterAt(std::string_view text, std::size_t at)
{
    std::size_t end = at + 1;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        ++end;
    return std::string(text.substr(at, end - at));
}

} // namespace

bool isCKeyword(std::string_view word)
{
    return std::binary_search(std::begin(kKeywords), std::end(kKeywords), word);
}

IdentifierCheck checkIdentifier(std::string_view word)
{
    if (word.empty())
        return {IdentifierProblem::Empty, {}};
    if (isDigit(word.front()))
        return {IdentifierProblem::LeadingDigit, {}};
    const auto bad = std::find_if_not(word.begin(), word.end(), isIdentifierCharacter);
    if (bad != word.end())
        return {IdentifierProblem::BadCharacter, characterAt(word, std::size_t(bad - word.begin()))};
    if (isCKeyword(word))
        return {IdentifierProblem::Keyword, {}};
    return {};
}

} // namespace bitloom
