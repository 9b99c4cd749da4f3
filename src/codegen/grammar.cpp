#include "grammar.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <unordered_set>

namespace bitloom::grammar {

namespace {

constexpr std::string_view kLightSuffix = "light";
constexpr std::string_view kDarkSuffix = "dark";

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isLineBreak(char c)
{
    return c == '\n' || c == '\r';
}

bool isWordChar(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool isCapitalWordChar(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || c == '_';
}

// The first CR or LF at or after `at`, or npos.
std::size_t findLineBreak(std::string_view text, std::size_t at)
{
    // On raw characters: this loop runs over every line the scan passes.
    const char* const data = text.data();
    for (const std::size_t size = text.size(); at < size; ++at) {
        if (data[at] == '\n' || data[at] == '\r')
            return at;
    }
    return std::string_view::npos;
}

// The first '/' or quote at or after `at`, or npos.
std::size_t findCommentOrQuote(std::string_view text, std::size_t at)
{
    const char* const data = text.data();
    for (const std::size_t size = text.size(); at < size; ++at) {
        if (data[at] == '/' || data[at] == '"' || data[at] == '\'')
            return at;
    }
    return std::string_view::npos;
}

// The line end at or after `at`: a line feed, or a carriage return that no
// line feed follows; the text size when there is none. A CRLF ends at its LF.
std::size_t lineEndFrom(std::string_view text, std::size_t at)
{
    while (true) {
        const std::size_t found = findLineBreak(text, at);
        if (found == std::string_view::npos)
            return text.size();
        if (text[found] == '\r' && found + 1 < text.size() && text[found + 1] == '\n')
            return found + 1;
        return found;
    }
}

// The line ends in [from, to).
int countLineEnds(std::string_view text, std::size_t from, std::size_t to)
{
    int count = 0;
    for (std::size_t at = from; at < to;) {
        const std::size_t found = findLineBreak(text.substr(0, to), at);
        if (found == std::string_view::npos)
            break;
        // The CR of a CRLF is not a line end of its own.
        if (!(text[found] == '\r' && found + 1 < text.size() && text[found + 1] == '\n'))
            ++count;
        at = found + 1;
    }
    return count;
}

// The start of the line holding `at`, not before `floor`.
std::size_t lineStartOf(std::string_view text, std::size_t at, std::size_t floor)
{
    while (at > floor && !isLineBreak(text[at - 1]))
        --at;
    return at;
}

// Where the content of the line ending at `lineEnd` stops: before the CR of
// a CRLF. New lines are inserted there.
std::size_t contentEnd(std::string_view text, std::size_t lineEnd)
{
    return lineEnd > 0 && lineEnd < text.size() && text[lineEnd] == '\n' && text[lineEnd - 1] == '\r'
               ? lineEnd - 1
               : lineEnd;
}

// The line end that ends at `lineEnd`, or the text's own at its end.
std::string_view lineEndText(std::string_view text, std::size_t lineEnd)
{
    if (lineEnd >= text.size())
        return textLineEnd(text);
    if (text[lineEnd] == '\r')
        return "\r";
    return lineEnd > 0 && text[lineEnd - 1] == '\r' ? "\r\n" : "\n";
}

std::size_t skipBlanks(std::string_view text, std::size_t at, std::size_t limit)
{
    const char* const data = text.data();
    while (at < limit && (data[at] == ' ' || data[at] == '\t'))
        ++at;
    return at;
}

// Whether `word` stands at `at` as a whole word (not the start of a longer one).
bool wordAt(std::string_view text, std::size_t at, std::size_t limit, std::string_view word)
{
    if (at >= limit || limit - at < word.size() || text[at] != word[0]
        || text.compare(at, word.size(), word) != 0)
        return false;
    const std::size_t after = at + word.size();
    return after == limit || !isWordChar(text[after]);
}

std::size_t wordEnd(std::string_view text, std::size_t at, std::size_t limit)
{
    const char* const data = text.data();
    while (at < limit && isWordChar(data[at]))
        ++at;
    return at;
}

bool isCIdentifier(std::string_view name)
{
    if (name.empty() || (name[0] >= '0' && name[0] <= '9'))
        return false;
    return std::all_of(name.begin(), name.end(), isWordChar);
}

// Walks over blanks, line breaks and comments.
class TriviaSkipper {
public:
    explicit TriviaSkipper(std::string_view text) : mText(text) {}

    // The first position at or after `at` that is no trivia; nothing when a
    // block comment never closes.
    std::optional<std::size_t> skip(std::size_t at)
    {
        const std::size_t size = mText.size();
        while (at < size) {
            const char c = mText[at];
            if (isBlank(c) || isLineBreak(c)) {
                ++at;
            } else if (c == '/' && at + 1 < size && mText[at + 1] == '/') {
                at = lineEndFrom(mText, at + 2);
            } else if (c == '/' && at + 1 < size && mText[at + 1] == '*') {
                const std::size_t close = commentClose(at + 2);
                if (close == std::string_view::npos)
                    return std::nullopt;
                at = close + 2;
            } else {
                break;
            }
        }
        return at;
    }

    // The first "*/" at or after `from`. The last answer is kept: many
    // declarations opening the same unclosed comment would otherwise each
    // search the rest of the text.
    std::size_t commentClose(std::size_t from)
    {
        if (!(mSearchedFrom <= from && (mFound == std::string_view::npos || from <= mFound))) {
            mSearchedFrom = from;
            mFound = mText.find("*/", from);
        }
        return mFound;
    }

private:
    std::string_view mText;
    std::size_t mSearchedFrom = std::string_view::npos;
    std::size_t mFound = std::string_view::npos;
};

// Follows a text from its start, telling whether a position lies inside a
// block comment. Positions asked about must not decrease.
class CommentTracker {
public:
    explicit CommentTracker(std::string_view text) : mText(text), mNext(findCommentOrQuote(text, 0)) {}

    bool insideComment(std::size_t to)
    {
        const std::size_t size = mText.size();
        while (mAt < to) {
            if (mInside) {
                const std::size_t close = mText.find("*/", mAt);
                if (close == std::string_view::npos) {
                    mAt = size;
                    return true;
                }
                if (close + 2 > to) {
                    mAt = std::min(close, to);
                    return true;
                }
                mAt = close + 2;
                mInside = false;
                continue;
            }
            // The next one is kept: it may lie far beyond many positions
            // asked about.
            if (mNext != std::string_view::npos && mNext < mAt)
                mNext = findCommentOrQuote(mText, mAt);
            const std::size_t found = mNext;
            if (found == std::string_view::npos || found >= to) {
                mAt = to;
                break;
            }
            const char c = mText[found];
            if (c == '/' && found + 1 < size && mText[found + 1] == '*') {
                mInside = true;
                mAt = found + 2;
            } else if (c == '/' && found + 1 < size && mText[found + 1] == '/') {
                mAt = lineEndFrom(mText, found + 2);
            } else if (c == '"' || c == '\'') {
                std::size_t at = found + 1;
                while (at < size && mText[at] != c && !isLineBreak(mText[at]))
                    at += mText[at] == '\\' ? 2 : 1;
                mAt = std::min(at + 1, size);
            } else {
                mAt = found + 1;
            }
        }
        return mInside && mAt >= to;
    }

private:
    std::string_view mText;
    std::size_t mAt = 0;
    std::size_t mNext; // the first '/' or quote at or after mAt, when not before it
    bool mInside = false;
};

// The end of the balanced parentheses that open at `at`, on the line.
std::optional<std::size_t> parenthesesEnd(std::string_view text, std::size_t at, std::size_t limit)
{
    if (at >= limit || text[at] != '(')
        return std::nullopt;
    int depth = 0;
    for (; at < limit; ++at) {
        if (text[at] == '(')
            ++depth;
        else if (text[at] == ')' && --depth == 0)
            return at + 1;
    }
    return std::nullopt;
}

// The end of the attribute word at `at`: an all-capital macro name of two
// or more characters, a call of one, __attribute__((...)), alignas(...) or
// __declspec(...).
std::optional<std::size_t> attributeEnd(std::string_view text, std::size_t at, std::size_t limit)
{
    const std::size_t end = wordEnd(text, at, limit);
    const std::string_view word = text.substr(at, end - at);
    if (word == "__attribute__" || word == "alignas" || word == "__declspec")
        return parenthesesEnd(text, skipBlanks(text, end, limit), limit);
    if (word.size() < 2 || !(word[0] == '_' || (word[0] >= 'A' && word[0] <= 'Z'))
        || !std::all_of(word.begin(), word.end(), isCapitalWordChar))
        return std::nullopt;
    const std::size_t after = skipBlanks(text, end, limit);
    if (after < limit && text[after] == '(')
        return parenthesesEnd(text, after, limit);
    return end;
}

// The end of the element type at `at`, if one stands there.
std::optional<std::size_t> typeEnd(std::string_view text, std::size_t at, std::size_t limit)
{
    if (wordAt(text, at, limit, "unsigned") || wordAt(text, at, limit, "signed")) {
        const std::size_t after = at + (text[at] == 'u' ? 8 : 6);
        const std::size_t word = skipBlanks(text, after, limit);
        if (word == after || !wordAt(text, word, limit, "char"))
            return std::nullopt;
        return word + 4;
    }
    if (wordAt(text, at, limit, "char"))
        return at + 4;
    if (wordAt(text, at, limit, "uint8_t"))
        return at + 7;
    if (wordAt(text, at, limit, "std")) {
        const std::size_t colons = skipBlanks(text, at + 3, limit);
        if (limit - colons < 2 || text.compare(colons, 2, "::") != 0)
            return std::nullopt;
        const std::size_t word = skipBlanks(text, colons + 2, limit);
        if (!wordAt(text, word, limit, "uint8_t"))
            return std::nullopt;
        return word + 7;
    }
    return std::nullopt;
}

// Skips the qualifiers, attribute words and the type of a head; returns
// where the name may begin, or nothing.
std::optional<std::size_t> skipQualifiersAndType(std::string_view text, std::size_t at, std::size_t limit)
{
    at = skipBlanks(text, at, limit);
    bool seenStatic = false, seenConst = false, seenConstexpr = false, seenType = false;
    std::size_t afterType = 0;
    while (at < limit) {
        bool* seen = nullptr;
        std::size_t length = 0;
        if (wordAt(text, at, limit, "static")) {
            seen = &seenStatic;
            length = 6;
        } else if (wordAt(text, at, limit, "constexpr")) {
            seen = &seenConstexpr;
            length = 9;
        } else if (wordAt(text, at, limit, "const")) {
            seen = &seenConst;
            length = 5;
        } else if (wordAt(text, at, limit, "extern")) {
            return std::nullopt; // declares what another file defines
        }
        if (seen) {
            if (*seen)
                return std::nullopt;
            *seen = true;
            at = skipBlanks(text, at + length, limit);
            continue;
        }
        if (!seenType) {
            if (const auto end = typeEnd(text, at, limit)) {
                seenType = true;
                afterType = *end;
                at = skipBlanks(text, *end, limit);
                continue;
            }
        }
        if (const auto end = attributeEnd(text, at, limit)) {
            // A capital word that brackets follow is the name itself.
            const std::size_t after = skipBlanks(text, *end, limit);
            if (seenType && after < limit && text[after] == '[')
                break;
            at = after;
            continue;
        }
        break;
    }
    if (!seenType || at == afterType)
        return std::nullopt;
    return at;
}

int digitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'Z')
        return c - 'A' + 10;
    return 99;
}

// The length of a u/U/l/L suffix ending `token`.
std::size_t suffixLength(std::string_view token)
{
    std::size_t length = 0;
    while (length < 3 && length < token.size()) {
        const char c = token[token.size() - 1 - length];
        if (c != 'u' && c != 'U' && c != 'l' && c != 'L')
            break;
        ++length;
    }
    return length;
}

std::string quoted(std::string_view token)
{
    const std::string shown = shortName(token, 20);
    return token.starts_with('\'') ? shown : "'" + shown + "'";
}

// Reads one number token as a byte; or says why it is none.
std::optional<NumberToken> readNumber(std::string_view token, std::size_t position, std::string& problem)
{
    NumberToken number{position, token.size(), 0, Notation::Decimal};
    int base = 10;
    std::string_view digits = token;
    if (token.size() >= 2 && token.size() <= 9 && token[0] == 'B'
        && std::all_of(token.begin() + 1, token.end(), [](char c) { return c == '0' || c == '1'; })) {
        number.notation = Notation::ArduinoBinary;
        base = 2;
        digits.remove_prefix(1);
    } else {
        digits.remove_suffix(suffixLength(token));
        if (digits.size() >= 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
            number.notation = Notation::Hex;
            base = 16;
            digits.remove_prefix(2);
        } else if (digits.size() >= 2 && digits[0] == '0' && (digits[1] == 'b' || digits[1] == 'B')) {
            number.notation = Notation::Binary;
            base = 2;
            digits.remove_prefix(2);
        } else if (digits.size() >= 2 && digits[0] == '0') {
            number.notation = Notation::Octal;
            base = 8;
            digits.remove_prefix(1);
        }
    }
    bool large = false;
    int value = 0;
    for (const char c : digits) {
        const int digit = digitValue(c);
        if (digit >= base) {
            digits = {};
            break;
        }
        value = value * base + digit;
        if (value > 255) {
            large = true;
            value = 256;
        }
    }
    if (digits.empty()) {
        problem = quoted(token) + " is not a number";
        return std::nullopt;
    }
    if (large) {
        problem = shortName(token, 20) + " does not fit in a byte";
        return std::nullopt;
    }
    number.value = static_cast<std::uint8_t>(value);
    return number;
}

// Where a body token that begins at `at` ends.
std::size_t tokenEnd(std::string_view text, std::size_t at)
{
    const std::size_t size = text.size();
    while (at < size) {
        const char c = text[at];
        if (c == ',' || c == '{' || c == '}' || c == ';' || isBlank(c) || isLineBreak(c)
            || (c == '/' && at + 1 < size && (text[at + 1] == '/' || text[at + 1] == '*')))
            break;
        ++at;
    }
    return at;
}

// Reads a brace list of numbers whose "{" is at `brace` into `array`;
// returns the position of its "}", or nothing when the list cannot be
// delimited (`array.problem` says why). A number that cannot be read is
// counted and noted, and the list is delimited on.
std::optional<std::size_t> readList(std::string_view text, std::size_t brace, ByteArray& array,
                                    TriviaSkipper& trivia, std::size_t& count)
{
    const auto fail = [&](std::string problem) -> std::optional<std::size_t> {
        if (array.problem.empty())
            array.problem = std::move(problem);
        return std::nullopt;
    };
    std::size_t at = brace + 1;
    while (true) {
        const auto next = trivia.skip(at);
        if (!next)
            return fail("a comment does not close");
        at = *next;
        if (at == text.size())
            return fail("no closing brace");
        if (text[at] == '}')
            return at;
        const std::size_t end = tokenEnd(text, at);
        if (end == at) {
            if (text[at] == ',')
                return fail("two commas in a row");
            if (text[at] == '{')
                return fail("a list inside the list");
            return fail("no closing brace");
        }
        std::string problem;
        if (const auto number = readNumber(text.substr(at, end - at), at, problem)) {
            if (array.numbers.capacity() == 0)
                array.numbers.reserve(kRowCount);
            array.numbers.push_back(*number);
        } else if (array.problem.empty())
            array.problem = std::move(problem);
        ++count;
        ++array.elementCount;
        const auto after = trivia.skip(end);
        if (!after)
            return fail("a comment does not close");
        at = *after;
        if (at < text.size() && text[at] == ',') {
            ++at;
            continue;
        }
        if (at < text.size() && text[at] == '}')
            return at;
        return fail("a comma is missing after " + shortName(text.substr(*next, end - *next), 20));
    }
}

// Reads the body after `array.openBrace`: a list of numbers, or for two
// bounds a list of such lists, then "}" and ";".
void readBody(std::string_view text, ByteArray& array, TriviaSkipper& trivia)
{
    std::optional<std::size_t> close;
    std::size_t count = 0;
    if (array.bounds.size() == 1) {
        close = readList(text, array.openBrace, array, trivia, count);
    } else {
        std::size_t at = array.openBrace + 1;
        while (true) {
            const auto next = trivia.skip(at);
            if (!next) {
                array.problem = "a comment does not close";
                break;
            }
            at = *next;
            if (at < text.size() && text[at] == '}') {
                close = at;
                break;
            }
            if (at == text.size() || text[at] != '{') {
                array.problem = "each row needs a list of its own in braces";
                break;
            }
            std::size_t row = 0;
            const auto rowClose = readList(text, at, array, trivia, row);
            if (!rowClose)
                break;
            if (!array.innerCount)
                array.innerCount = row;
            else if (*array.innerCount != row && array.problem.empty())
                array.problem = "rows of different lengths";
            const auto after = trivia.skip(*rowClose + 1);
            if (!after) {
                array.problem = "a comment does not close";
                break;
            }
            at = *after;
            if (at < text.size() && text[at] == ',')
                ++at;
            else if (at == text.size() || text[at] != '}') {
                array.problem = "a comma is missing after a row";
                break;
            }
        }
    }
    if (!close)
        return;
    const auto semicolon = trivia.skip(*close + 1);
    if (!semicolon || *semicolon == text.size() || text[*semicolon] != ';') {
        if (array.problem.empty())
            array.problem = "no \";\" after the closing brace";
        return;
    }
    array.closeBrace = *close;
    array.end = *semicolon + 1;
    array.delimited = true;
    array.readable = array.problem.empty();
}

// Reads what follows the name: one or two bounds, attribute words, "=" and
// "{", these three maybe on later lines. Fills the bounds and returns the
// position of the "{".
std::optional<std::size_t> headTail(std::string_view text, std::size_t at, std::size_t headLineEnd,
                                    TriviaSkipper& trivia, std::vector<std::string_view>& bounds)
{
    bounds.clear();
    at = skipBlanks(text, at, headLineEnd);
    while (bounds.size() < 2 && at < headLineEnd && text[at] == '[') {
        const std::size_t close = text.find_first_of("[]", at + 1);
        if (close == std::string_view::npos || close >= headLineEnd || text[close] != ']')
            return std::nullopt;
        bounds.push_back(text.substr(at + 1, close - at - 1));
        at = skipBlanks(text, close + 1, headLineEnd);
    }
    if (bounds.empty())
        return std::nullopt;
    while (true) {
        const auto next = trivia.skip(at);
        if (!next || *next == text.size())
            return std::nullopt;
        at = *next;
        if (text[at] == '=')
            break;
        const auto end = attributeEnd(text, at, lineEndFrom(text, at));
        if (!end)
            return std::nullopt;
        at = *end;
    }
    const auto brace = trivia.skip(at + 1);
    if (!brace || *brace == text.size() || text[*brace] != '{')
        return std::nullopt;
    return *brace;
}

bool hasPlaneSuffix(std::string_view name)
{
    return name.ends_with(kLightSuffix) || name.ends_with(kDarkSuffix);
}

// Whether `identifier` names a plane of the sprite `name`.
bool isPlaneOf(std::string_view identifier, std::string_view name)
{
    if (!identifier.starts_with(name))
        return false;
    identifier.remove_prefix(name.size());
    return identifier == kLightSuffix || identifier == kDarkSuffix;
}

// Reads the byte array whose name is the text from `nameStart` to the
// blanks before the "[" at `bracket`, if that is a name and a head tail
// follows it.
// Where the body after the "{" at `brace` ends, when it plainly ends on its
// head line: words and commas, a "}" and a ";", nothing else. Any such body
// is delimited as readBody would delimit it, so it need not be read to know
// its extent. Returns that "}".
std::optional<std::size_t> bodyEndOnHeadLine(std::string_view text, std::size_t brace,
                                             std::size_t headLineEnd)
{
    std::size_t at = skipBlanks(text, brace + 1, headLineEnd);
    while (at < headLineEnd && text[at] != '}') {
        const std::size_t end = wordEnd(text, at, headLineEnd);
        if (end == at)
            return std::nullopt;
        at = skipBlanks(text, end, headLineEnd);
        if (at < headLineEnd && text[at] == ',')
            at = skipBlanks(text, at + 1, headLineEnd);
        else if (at == headLineEnd || text[at] != '}')
            return std::nullopt;
    }
    if (at == headLineEnd)
        return std::nullopt;
    const std::size_t semicolon = skipBlanks(text, at + 1, headLineEnd);
    if (semicolon == headLineEnd || text[semicolon] != ';')
        return std::nullopt;
    return at;
}

// With `only`, the body of an array that is neither plane of that sprite is
// not read when it ends on its head line: only its extent is.
std::optional<ByteArray> arrayAt(std::string_view text, std::size_t start, std::size_t lineStart,
                                 std::size_t nameStart, std::size_t bracket, std::size_t headLineEnd,
                                 TriviaSkipper& trivia, const std::string_view* only)
{
    std::size_t identifierEnd = bracket;
    while (identifierEnd > nameStart && isBlank(text[identifierEnd - 1]))
        --identifierEnd;
    const std::string_view name = text.substr(nameStart, identifierEnd - nameStart);
    if (name.empty() || !(isCIdentifier(name) || hasPlaneSuffix(name)))
        return std::nullopt;
    ByteArray array;
    const auto brace = headTail(text, bracket, headLineEnd, trivia, array.bounds);
    if (!brace)
        return std::nullopt;
    array.name = name;
    array.start = start;
    array.lineStart = lineStart;
    array.identifierStart = nameStart;
    array.identifierEnd = identifierEnd;
    array.openBrace = *brace;
    if (only && !isPlaneOf(name, *only)) {
        if (const auto close = bodyEndOnHeadLine(text, *brace, headLineEnd)) {
            array.closeBrace = *close;
            array.end = skipBlanks(text, *close + 1, headLineEnd) + 1;
            array.delimited = true;
            array.problem = "not read";
            array.lineEnd = lineEndFrom(text, array.end);
            return array;
        }
    }
    readBody(text, array, trivia);
    if (!array.delimited) {
        array.numbers.clear();
        array.end = lineEndFrom(text, array.openBrace);
    }
    array.lineEnd = lineEndFrom(text, array.end);
    return array;
}

// Reads the byte array whose head begins at `start`; line numbers are left
// to the caller. When the head line reads as two or more complete
// declarations it is read as them: the first one is returned, named by the
// shortest reading. Otherwise the name is the longest that a head tail
// follows, so that a name holding declaration syntax ("Alight[]={x",
// written as the user typed it) is still its own.
std::optional<ByteArray> parseArray(std::string_view text, std::size_t start, std::size_t lineStart,
                                    TriviaSkipper& trivia, const std::string_view* only = nullptr,
                                    bool shortestOnly = false)
{
    const std::size_t headLineEnd = lineEndFrom(text, start);
    const auto nameStart = skipQualifiersAndType(text, start, headLineEnd);
    if (!nameStart)
        return std::nullopt;
    std::optional<ByteArray> shortest;
    std::size_t shortestBracket = std::string_view::npos;
    for (std::size_t at = text.find('[', *nameStart); at < headLineEnd; at = text.find('[', at + 1)) {
        shortest = arrayAt(text, start, lineStart, *nameStart, at, headLineEnd, trivia, only);
        if (shortest) {
            shortestBracket = at;
            break;
        }
    }
    if (!shortest || shortestOnly)
        return shortest;
    if (shortest->delimited && shortest->end <= headLineEnd) {
        const std::size_t next = skipBlanks(text, shortest->end, headLineEnd);
        if (next < headLineEnd) {
            const auto second = parseArray(text, next, lineStart, trivia, only, true);
            if (second && second->delimited)
                return shortest;
        }
    }
    for (std::size_t at = headLineEnd; at-- > shortestBracket;) {
        at = text.rfind('[', at);
        if (at == std::string_view::npos || at <= shortestBracket)
            break;
        if (auto longer = arrayAt(text, start, lineStart, *nameStart, at, headLineEnd, trivia, only))
            return longer;
    }
    return shortest;
}

// Walks the byte arrays of a text in order. A head line must hold one of
// the type words, so the walk only looks at lines holding "char" or
// "uint8_t" and jumps over all others at the speed of a text search.
class Scanner {
public:
    // With `only`, other arrays' bodies need not be read (see arrayAt).
    explicit Scanner(std::string_view text, std::optional<std::string_view> only = std::nullopt)
        : mText(text),
          mOnly(only),
          mTrivia(text),
          mComments(text),
          mAt(firstLineStart(text)),
          mChar(text.find("char", mAt)),
          mUint(text.find("uint8_t", mAt))
    {
    }

    std::optional<ByteArray> next()
    {
        while (mAt < mText.size()) {
            std::size_t start = 0, lineStart = 0;
            if (mContinuation) {
                mContinuation = false;
                start = mAt;
                lineStart = mContinuationLine;
            } else {
                const std::size_t word = nextTypeWord();
                if (word == std::string_view::npos) {
                    mAt = mText.size();
                    break;
                }
                lineStart = lineStartOf(mText, word, std::max(mAt, firstLineStart(mText)));
                start = lineStart;
                if (mComments.insideComment(lineStart)) {
                    mAt = lineEndFrom(mText, word) + 1;
                    continue;
                }
            }
            auto array = parseArray(mText, start, lineStart, mTrivia, mOnly ? &*mOnly : nullptr);
            if (!array) {
                mAt = lineEndFrom(mText, start) + 1;
                continue;
            }
            array->line = lineNumberAt(lineStart);
            // A search for one sprite needs no last lines.
            if (!mOnly)
                array->lastLine = array->line + countLineEnds(mText, lineStart, array->end);
            mAt = array->lineEnd + 1;
            if (array->delimited) {
                const std::size_t rest = skipBlanks(mText, array->end, array->lineEnd);
                if (rest < array->lineEnd && !isLineBreak(mText[rest])) {
                    mContinuation = true;
                    mAt = rest;
                    mContinuationLine = lineStartOf(mText, rest, array->lineStart);
                }
            }
            // Moves the comment tracker over the body, whose comments it
            // must see.
            mComments.insideComment(std::min(mAt, mText.size()));
            return array;
        }
        return std::nullopt;
    }

private:
    // The next "char" or "uint8_t" at or after the walk's position.
    std::size_t nextTypeWord()
    {
        if (mChar != std::string_view::npos && mChar < mAt)
            mChar = mText.find("char", mAt);
        if (mUint != std::string_view::npos && mUint < mAt)
            mUint = mText.find("uint8_t", mAt);
        return std::min(mChar, mUint);
    }

    int lineNumberAt(std::size_t at)
    {
        mLine += countLineEnds(mText, mCounted, at);
        mCounted = at;
        return mLine;
    }

    std::string_view mText;
    std::optional<std::string_view> mOnly;
    TriviaSkipper mTrivia;
    CommentTracker mComments;
    std::size_t mAt;
    std::size_t mChar; // the next "char" not yet passed, or npos
    std::size_t mUint; // the next "uint8_t" not yet passed, or npos
    bool mContinuation = false;
    std::size_t mContinuationLine = 0;
    std::size_t mCounted = 0;
    int mLine = 1;
};

std::string_view trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The sprite plane a byte array is, if it is one; `declared` holds every
// identifier of the text, for the other plane.
std::optional<Declaration> planeOf(std::string_view text, const ByteArray& array,
                                   const std::unordered_set<std::string_view>* declared)
{
    Plane plane = Plane::Light;
    std::string_view suffix;
    if (array.name.ends_with(kLightSuffix)) {
        suffix = kLightSuffix;
    } else if (array.name.ends_with(kDarkSuffix)) {
        plane = Plane::Dark;
        suffix = kDarkSuffix;
    } else {
        return std::nullopt;
    }
    if (array.bounds.size() != 1)
        return std::nullopt;
    const std::string_view name = array.name.substr(0, array.name.size() - suffix.size());
    const bool eight = array.delimited && array.elementCount == kRowCount;
    if (!eight && array.delimited && trimmed(array.bounds[0]) != "8") {
        const std::string other =
            std::string(name) + std::string(plane == Plane::Light ? kDarkSuffix : kLightSuffix);
        if (!declared || !declared->count(other))
            return std::nullopt;
    }
    Declaration declaration;
    declaration.plane = plane;
    declaration.name = name;
    declaration.start = array.start;
    declaration.lineStart = array.lineStart;
    declaration.identifierStart = array.identifierStart;
    declaration.identifierEnd = array.identifierEnd;
    declaration.openBrace = array.openBrace;
    declaration.line = array.line;
    declaration.readable = array.readable && eight;
    if (declaration.readable) {
        std::copy(array.numbers.begin(), array.numbers.end(), declaration.numbers.begin());
        declaration.closeBrace = array.closeBrace;
    } else if (!array.problem.empty()) {
        declaration.problem = array.problem;
    } else {
        declaration.problem = std::to_string(array.elementCount)
                              + (array.elementCount == 1 ? " number" : " numbers") + "; a sprite plane has 8";
    }
    // An unreadable one ends where its "{" line does: only its head is
    // known to be its own, as far as writing it goes.
    declaration.end = declaration.readable ? array.end : lineEndFrom(text, array.openBrace);
    declaration.lineEnd = declaration.readable ? array.lineEnd : declaration.end;
    return declaration;
}

std::size_t prefixLength(Notation notation)
{
    switch (notation) {
    case Notation::Hex:
    case Notation::Binary: return 2;
    case Notation::Octal:
    case Notation::ArduinoBinary: return 1;
    case Notation::Decimal: break;
    }
    return 0;
}

unsigned baseOf(Notation notation)
{
    switch (notation) {
    case Notation::Hex: return 16;
    case Notation::Binary:
    case Notation::ArduinoBinary: return 2;
    case Notation::Octal: return 8;
    case Notation::Decimal: break;
    }
    return 10;
}

// Writes `value` with the given prefix, at least `width` digits and the suffix.
void appendNumber(std::string& out, std::uint8_t value, Notation notation, std::string_view prefix,
                  std::size_t width, std::string_view suffix, bool lowerHex)
{
    const char* digits = lowerHex ? "0123456789abcdef" : "0123456789ABCDEF";
    const unsigned base = baseOf(notation);
    char buffer[8];
    std::size_t count = 0;
    unsigned rest = value;
    do {
        buffer[count++] = digits[rest % base];
        rest /= base;
    } while (rest != 0);
    out.append(prefix);
    if (notation != Notation::Decimal && width > count)
        out.append(width - count, '0');
    while (count > 0)
        out.push_back(buffer[--count]);
    out.append(suffix);
}

// The letter case of a hex token's own letters, if it has any of one case.
std::optional<bool> ownLowerHex(std::string_view text, const NumberToken& number)
{
    if (number.notation != Notation::Hex)
        return std::nullopt;
    bool lower = false, upper = false;
    const std::string_view token = text.substr(number.position, number.length);
    for (std::size_t i = 2; i < token.size() - suffixLength(token); ++i) {
        const char c = token[i];
        lower = lower || (c >= 'a' && c <= 'f');
        upper = upper || (c >= 'A' && c <= 'F');
    }
    if (lower == upper)
        return std::nullopt;
    return lower;
}

void appendLike(std::string& out, std::string_view text, const NumberToken& like, std::uint8_t value,
                bool lowerHex)
{
    const std::string_view token = text.substr(like.position, like.length);
    const std::size_t prefix = prefixLength(like.notation);
    const std::size_t suffix = like.notation == Notation::ArduinoBinary ? 0 : suffixLength(token);
    appendNumber(out, value, like.notation, token.substr(0, prefix), like.length - prefix - suffix,
                 token.substr(token.size() - suffix), ownLowerHex(text, like).value_or(lowerHex));
}

std::string_view suffixOf(Plane plane)
{
    return plane == Plane::Light ? kLightSuffix : kDarkSuffix;
}

// The declaration a text without byte arrays gets: the program's own shape.
std::string ownShape(std::string_view name, Plane plane, const std::array<std::uint8_t, kRowCount>& bytes)
{
    std::string out = "static unsigned char ";
    out.append(name).append(suffixOf(plane)).append("[]={");
    for (std::size_t i = 0; i < kRowCount; ++i) {
        if (i > 0)
            out.push_back(',');
        appendNumber(out, bytes[i], Notation::Hex, "0x", 2, {}, false);
    }
    out.append("};");
    return out;
}

std::string_view blanksAt(std::string_view text, std::size_t at, std::size_t limit)
{
    return text.substr(at, skipBlanks(text, at, limit) - at);
}

std::string_view blanksBefore(std::string_view text, std::size_t at, std::size_t floor)
{
    std::size_t from = at;
    while (from > floor && isBlank(text[from - 1]))
        --from;
    return text.substr(from, at - from);
}

// A piece of a head on one line: its comments dropped, each line break with
// the blanks around it made one space.
std::string oneLine(std::string_view piece)
{
    std::string out;
    bool pendingSpace = false;
    for (std::size_t at = 0; at < piece.size();) {
        const char c = piece[at];
        const bool lineComment = c == '/' && at + 1 < piece.size() && piece[at + 1] == '/';
        const bool blockComment = c == '/' && at + 1 < piece.size() && piece[at + 1] == '*';
        if (isLineBreak(c) || lineComment || blockComment) {
            while (!out.empty() && isBlank(out.back()))
                out.pop_back();
            pendingSpace = true;
            if (lineComment)
                at = std::min(piece.find_first_of("\r\n", at), piece.size());
            else if (blockComment)
                at = std::min(piece.find("*/", at + 2), piece.size() - 2) + 2;
            else
                ++at;
            at = skipBlanks(piece, at, piece.size());
            continue;
        }
        if (pendingSpace && !out.empty())
            out.push_back(' ');
        pendingSpace = false;
        out.push_back(c);
        ++at;
    }
    return out;
}

// A body of 8 numbers in the notation of `first`, separated as after it.
std::string bodyLike(std::string_view text, const NumberToken* first, std::size_t openBrace,
                     std::size_t closeBrace, bool lowerHex, bool keepInnerBlanks,
                     const std::array<std::uint8_t, kRowCount>& bytes)
{
    std::string out;
    std::string_view separatorBlanks;
    if (first) {
        TriviaSkipper trivia(text);
        const auto comma = trivia.skip(first->position + first->length);
        if (comma && *comma < text.size() && text[*comma] == ',')
            separatorBlanks = blanksAt(text, *comma + 1, text.size());
    }
    if (keepInnerBlanks)
        out.append(blanksAt(text, openBrace + 1, closeBrace));
    for (std::size_t i = 0; i < kRowCount; ++i) {
        if (i > 0)
            out.append(",").append(separatorBlanks);
        if (first)
            appendLike(out, text, *first, bytes[i], lowerHex);
        else
            appendNumber(out, bytes[i], Notation::Hex, "0x", 2, {}, false);
    }
    if (keepInnerBlanks)
        out.append(blanksBefore(text, closeBrace, openBrace + 1));
    out.append("};");
    return out;
}

bool bodyOnOneLine(std::string_view text, std::size_t openBrace, std::size_t closeBrace)
{
    return text.substr(openBrace, closeBrace - openBrace).find_first_of("\r\n") == std::string_view::npos;
}

// A declaration shaped like `model`, all on one line.
std::string shapeLike(std::string_view text, const Declaration& model, std::string_view name, Plane plane,
                      const std::array<std::uint8_t, kRowCount>& bytes)
{
    std::string out;
    out.append(text.substr(model.start, model.identifierStart - model.start));
    out.append(name).append(suffixOf(plane));
    out.append(oneLine(text.substr(model.identifierEnd, model.openBrace + 1 - model.identifierEnd)));
    const std::vector<NumberToken> numbers(model.numbers.begin(), model.numbers.end());
    out.append(bodyLike(text, &model.numbers.front(), model.openBrace, model.closeBrace,
                        usesLowerHex(text, numbers), bodyOnOneLine(text, model.openBrace, model.closeBrace),
                        bytes));
    return out;
}

// A sprite plane shaped like the byte array `model`: its head with "[]" for
// its bounds, and a one-line body in the notation of its first number.
std::string shapeLikeArray(std::string_view text, const ByteArray& model, std::string_view name, Plane plane,
                           const std::array<std::uint8_t, kRowCount>& bytes)
{
    std::string out;
    out.append(text.substr(model.start, model.identifierStart - model.start));
    out.append(name).append(suffixOf(plane));
    const std::string_view lastBound = model.bounds.back();
    const std::size_t afterBounds =
        static_cast<std::size_t>(lastBound.data() - text.data()) + lastBound.size() + 1;
    out.append(
        oneLine(text.substr(model.identifierEnd, model.bounds.front().data() - 1 - text.data()
                                                     - static_cast<std::ptrdiff_t>(model.identifierEnd))));
    out.append("[]");
    out.append(oneLine(text.substr(afterBounds, model.openBrace + 1 - afterBounds)));
    const bool flat = model.bounds.size() == 1;
    out.append(bodyLike(text, model.numbers.empty() ? nullptr : &model.numbers.front(), model.openBrace,
                        model.closeBrace, usesLowerHex(text, model.numbers),
                        flat && bodyOnOneLine(text, model.openBrace, model.closeBrace), bytes));
    return out;
}

// A directive line's word and the text after it ("if", " 0"), if the line
// at `lineStart` is one.
std::optional<std::pair<std::string_view, std::string_view>>
directiveAt(std::string_view text, std::size_t lineStart, std::size_t lineEnd)
{
    std::size_t at = skipBlanks(text, lineStart, lineEnd);
    if (at == lineEnd || text[at] != '#')
        return std::nullopt;
    at = skipBlanks(text, at + 1, lineEnd);
    const std::size_t end = wordEnd(text, at, lineEnd);
    return std::pair{text.substr(at, end - at), text.substr(end, lineEnd - end)};
}

bool isIfZero(std::string_view rest)
{
    rest = trimmed(rest);
    const std::size_t comment = rest.find('/');
    if (comment != std::string_view::npos)
        rest = trimmed(rest.substr(0, comment));
    return rest == "0";
}

// Where a line after the one ending at `lineEnd` goes: after the "#endif"
// that closes an "#if 0" block holding that line, and never inside a
// comment. Returns the line end it follows.
std::size_t placeAfter(std::string_view text, std::size_t lineEnd)
{
    // Conditional blocks open at that line, each marked when it is "#if 0".
    std::vector<bool> open;
    CommentTracker comments(text);
    std::size_t at = firstLineStart(text);
    std::size_t zeroDepth = 0; // the outermost "#if 0" holding the line, 1-based; 0 for none
    bool passed = false;
    while (at < text.size()) {
        const std::size_t end = lineEndFrom(text, at);
        if (!comments.insideComment(at)) {
            if (const auto directive = directiveAt(text, at, end)) {
                const auto [word, rest] = *directive;
                if (word == "if" || word == "ifdef" || word == "ifndef") {
                    open.push_back(word == "if" && isIfZero(rest));
                } else if ((word == "else" || word == "elif") && !open.empty()) {
                    open.back() = false;
                } else if (word == "endif" && !open.empty()) {
                    open.pop_back();
                    if (passed && open.size() < zeroDepth) {
                        lineEnd = end;
                        break;
                    }
                }
            }
        }
        if (!passed && end >= lineEnd) {
            passed = true;
            for (std::size_t i = 0; i < open.size() && zeroDepth == 0; ++i) {
                if (open[i])
                    zeroDepth = i + 1;
            }
            if (zeroDepth == 0)
                break;
        }
        at = end + 1;
    }
    // Out of a comment that the line ends in.
    CommentTracker after(text);
    for (int guard = 0; guard < 64 && lineEnd < text.size(); ++guard) {
        if (!after.insideComment(contentEnd(text, lineEnd)))
            break;
        const std::size_t close = text.find("*/", contentEnd(text, lineEnd));
        if (close == std::string_view::npos)
            break;
        lineEnd = lineEndFrom(text, close + 2);
    }
    return lineEnd;
}

std::vector<ByteArray> arraysOf(std::string_view text, std::optional<std::string_view> only = std::nullopt)
{
    std::vector<ByteArray> arrays;
    Scanner scanner(text, only);
    while (auto array = scanner.next()) {
        // With `only`, the arrays of other names are not wanted.
        if (only && !isPlaneOf(array->name, *only))
            continue;
        arrays.push_back(std::move(*array));
    }
    return arrays;
}

} // namespace

std::string shortName(std::string_view name, std::size_t limit)
{
    if (name.size() <= limit)
        return std::string(name);
    std::size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
        --cut;
    return std::string(name.substr(0, cut)) + "...";
}

std::string_view textLineEnd(std::string_view text)
{
    const std::size_t end = lineEndFrom(text, 0);
    if (end == text.size())
        return "\n";
    return lineEndText(text, end);
}

int lineNumberAt(std::string_view text, std::size_t position)
{
    return 1 + countLineEnds(text, 0, std::min(position, text.size()));
}

std::vector<ByteArray> scanByteArrays(std::string_view text)
{
    return arraysOf(text);
}

std::optional<ByteArray> parseByteArrayAt(std::string_view text, std::size_t start)
{
    TriviaSkipper trivia(text);
    const std::size_t lineStart = lineStartOf(text, start, std::min(firstLineStart(text), start));
    auto array = parseArray(text, start, lineStart, trivia);
    if (array) {
        array->line = lineNumberAt(text, lineStart);
        array->lastLine = array->line + countLineEnds(text, lineStart, array->end);
    }
    return array;
}

bool usesLowerHex(std::string_view text, const std::vector<NumberToken>& tokens)
{
    for (const NumberToken& number : tokens) {
        if (number.notation != Notation::Hex)
            continue;
        const std::string_view token = text.substr(number.position, number.length);
        for (std::size_t i = 2; i < token.size() - suffixLength(token); ++i) {
            if (token[i] >= 'a' && token[i] <= 'f')
                return true;
        }
    }
    return false;
}

TextEdit rewriteTokens(std::string_view text, const std::vector<NumberToken>& tokens,
                       const std::vector<std::uint8_t>& values, std::optional<bool> lowerHex)
{
    if (tokens.empty())
        return {};
    const bool lower = lowerHex.value_or(usesLowerHex(text, tokens));
    const NumberToken& first = tokens.front();
    const NumberToken& last = tokens.back();
    TextEdit edit{first.position, last.position + last.length - first.position, {}};
    edit.inserted.reserve(edit.removed + 8);
    std::size_t copied = first.position;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const NumberToken& number = tokens[i];
        edit.inserted.append(text.substr(copied, number.position - copied));
        if (i < values.size())
            appendLike(edit.inserted, text, number, values[i], lower);
        else
            edit.inserted.append(text.substr(number.position, number.length));
        copied = number.position + number.length;
    }
    return edit;
}

std::array<std::uint8_t, kRowCount> Declaration::bytes() const
{
    std::array<std::uint8_t, kRowCount> rows{};
    for (std::size_t i = 0; i < kRowCount; ++i)
        rows[i] = numbers[i].value;
    return rows;
}

std::vector<Declaration> pairDeclarations(std::string_view text, const std::vector<ByteArray>& arrays)
{
    std::unordered_set<std::string_view> declared;
    for (const ByteArray& array : arrays)
        declared.insert(array.name);
    std::vector<Declaration> declarations;
    for (const ByteArray& array : arrays) {
        if (auto declaration = planeOf(text, array, &declared))
            declarations.push_back(std::move(*declaration));
    }
    return declarations;
}

std::optional<Declaration> parseDeclarationAt(std::string_view text, std::size_t lineStart)
{
    const auto array = parseByteArrayAt(text, lineStart);
    if (!array)
        return std::nullopt;
    return planeOf(text, *array, nullptr);
}

std::vector<Declaration> scanDeclarations(std::string_view text)
{
    return pairDeclarations(text, arraysOf(text));
}

std::string_view spriteName(std::string_view typed)
{
    return typed.substr(std::min(typed.find_first_not_of(" \t"), typed.size()));
}

std::optional<Declaration> findDeclaration(std::string_view text, std::string_view name, Plane plane)
{
    name = spriteName(name);
    for (Declaration& declaration : pairDeclarations(text, arraysOf(text, name))) {
        if (declaration.plane == plane && declaration.name == name)
            return std::move(declaration);
    }
    return std::nullopt;
}

SpriteDeclarations findSprite(std::string_view text, std::string_view name)
{
    name = spriteName(name);
    SpriteDeclarations found;
    for (Declaration& declaration : pairDeclarations(text, arraysOf(text, name))) {
        if (declaration.name != name)
            continue;
        auto& first = declaration.plane == Plane::Light ? found.light : found.dark;
        if (!first)
            first = std::move(declaration);
    }
    return found;
}

const Declaration* declarationAt(const std::vector<Declaration>& declarations, std::size_t position)
{
    const auto after =
        std::upper_bound(declarations.begin(), declarations.end(), position,
                         [](std::size_t at, const Declaration& d) { return at < d.lineStart; });
    if (after == declarations.begin())
        return nullptr;
    const Declaration& candidate = *std::prev(after);
    return position <= candidate.lineEnd ? &candidate : nullptr;
}

TextEdit rewriteNumbers(std::string_view text, const Declaration& declaration,
                        const std::array<std::uint8_t, kRowCount>& bytes)
{
    // An unreadable declaration has no numbers to write over: nothing changes.
    if (!declaration.readable)
        return {declaration.lineStart, 0, {}};
    return rewriteTokens(text,
                         std::vector<NumberToken>(declaration.numbers.begin(), declaration.numbers.end()),
                         std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

TextEdit newDeclaration(std::string_view text, std::string_view name, Plane plane,
                        const std::array<std::uint8_t, kRowCount>& bytes)
{
    name = spriteName(name);
    const std::vector<ByteArray> arrays = arraysOf(text);
    const std::vector<Declaration> declarations = pairDeclarations(text, arrays);
    const Declaration* model = nullptr;
    const Declaration* light = nullptr;
    for (const Declaration& declaration : declarations) {
        if (!declaration.readable)
            continue;
        if (plane == Plane::Dark && !light && declaration.plane == Plane::Light && declaration.name == name)
            light = &declaration;
        model = &declaration;
    }
    std::size_t anchorEnd = 0;
    std::string line;
    if (model) {
        anchorEnd = (light ? light : model)->lineEnd;
        line = shapeLike(text, *model, name, plane, bytes);
    } else {
        const ByteArray* array = nullptr;
        for (const ByteArray& candidate : arrays) {
            if (candidate.readable)
                array = &candidate;
        }
        if (!array) {
            // At the end, but before a final line end so the text keeps
            // ending with one.
            std::size_t at = text.size();
            if (at > 0 && isLineBreak(text[at - 1]))
                at = contentEnd(text, at - 1);
            return {at, 0, std::string(textLineEnd(text)) + ownShape(name, plane, bytes)};
        }
        anchorEnd = array->lineEnd;
        line = shapeLikeArray(text, *array, name, plane, bytes);
    }
    anchorEnd = placeAfter(text, anchorEnd);
    return {contentEnd(text, anchorEnd), 0, std::string(lineEndText(text, anchorEnd)) + line};
}

TextEdit removeDeclaration(std::string_view text, const Declaration& declaration)
{
    const std::size_t start = declaration.start;
    const std::size_t stop = contentEnd(text, declaration.lineEnd);
    const bool before = skipBlanks(text, declaration.lineStart, start) < start;
    std::size_t afterEnd = skipBlanks(text, declaration.end, stop);
    if (afterEnd + 1 < stop && text[afterEnd] == '/'
        && (text[afterEnd + 1] == '/' || text[afterEnd + 1] == '*'))
        afterEnd = stop; // a comment after it goes with its line
    if (before || afterEnd < stop) {
        // It shares its line: it goes alone, with the blanks that part it
        // from what follows, or from what precedes it at the line's end.
        if (afterEnd < stop)
            return {start, afterEnd - start, {}};
        const std::size_t from = start - blanksBefore(text, start, declaration.lineStart).size();
        return {from, declaration.end - from, {}};
    }
    if (declaration.lineStart > firstLineStart(text)) {
        // The line end before the declaration goes with it.
        const std::size_t feed = declaration.lineStart - 1;
        const std::size_t from = feed >= 1 && text[feed] == '\n' && text[feed - 1] == '\r' ? feed - 1 : feed;
        return {from, stop - from, {}};
    }
    // The first line: the line end after it goes instead.
    const std::size_t through = declaration.lineEnd < text.size() ? declaration.lineEnd + 1 : text.size();
    return {declaration.lineStart, through - declaration.lineStart, {}};
}

TextEdit renameDeclaration(const Declaration& declaration, std::string_view newName)
{
    return {declaration.identifierStart, declaration.name.size(), std::string(spriteName(newName))};
}

namespace {

struct TokenSource {
    std::size_t start, identifierStart, identifierEnd, openBrace, end;
    bool readable;
    const NumberToken* numbers;
    std::size_t numberCount;
};

void addCommentOrSkip(std::string_view text, std::size_t& at, std::vector<TokenSpan>& tokens)
{
    if (text[at] == '/' && at + 1 < text.size() && text[at + 1] == '/') {
        const std::size_t stop = contentEnd(text, lineEndFrom(text, at));
        tokens.push_back({at, stop - at, TokenKind::Comment});
        at = stop;
    } else if (text[at] == '/' && at + 1 < text.size() && text[at + 1] == '*') {
        const std::size_t close = text.find("*/", at + 2);
        const std::size_t stop = close == std::string_view::npos ? text.size() : close + 2;
        tokens.push_back({at, stop - at, TokenKind::Comment});
        at = stop;
    } else {
        ++at;
    }
}

std::vector<TokenSpan> tokensOf(std::string_view text, const TokenSource& source)
{
    std::vector<TokenSpan> tokens;
    const auto add = [&](std::size_t position, std::size_t length, TokenKind kind) {
        tokens.push_back({position, length, kind});
    };
    const auto addWords = [&](std::size_t from, std::size_t to) {
        for (std::size_t at = from; at < to;) {
            const char c = text[at];
            if (isBlank(c) || isLineBreak(c)) {
                ++at;
            } else if (c == ':' && at + 1 < to && text[at + 1] == ':') {
                add(at, 2, TokenKind::Type);
                at += 2;
            } else if (isWordChar(c)) {
                const std::size_t end = wordEnd(text, at, to);
                const std::string_view word = text.substr(at, end - at);
                const bool type = word == "unsigned" || word == "signed" || word == "char"
                                  || word == "uint8_t" || word == "std";
                std::size_t stop = end;
                if (!type) {
                    // An attribute word with its parentheses is one keyword.
                    if (const auto attribute = attributeEnd(text, at, lineEndFrom(text, at)))
                        stop = std::min(*attribute, to);
                }
                add(at, stop - at, type ? TokenKind::Type : TokenKind::Keyword);
                at = stop;
            } else if (c == '/') {
                addCommentOrSkip(text, at, tokens);
            } else {
                add(at++, 1, TokenKind::Punctuation);
            }
        }
    };
    addWords(source.start, source.identifierStart);
    add(source.identifierStart, source.identifierEnd - source.identifierStart, TokenKind::Identifier);
    // The rest of the head: bounds, attribute words, "=", "{".
    for (std::size_t at = source.identifierEnd; at <= source.openBrace;) {
        const char c = text[at];
        if (c == '[') {
            add(at, 1, TokenKind::Punctuation);
            const std::size_t close = text.find(']', at);
            const std::string_view bound = trimmed(text.substr(at + 1, close - at - 1));
            if (!bound.empty()) {
                const bool number =
                    std::all_of(bound.begin(), bound.end(), isWordChar) && bound[0] >= '0' && bound[0] <= '9';
                add(static_cast<std::size_t>(bound.data() - text.data()), bound.size(),
                    number ? TokenKind::Number : TokenKind::Identifier);
            }
            add(close, 1, TokenKind::Punctuation);
            at = close + 1;
        } else if (isWordChar(c)) {
            const auto attribute = attributeEnd(text, at, lineEndFrom(text, at));
            const std::size_t stop = attribute ? *attribute : wordEnd(text, at, source.openBrace);
            add(at, stop - at, TokenKind::Keyword);
            at = stop;
        } else if (isBlank(c) || isLineBreak(c)) {
            ++at;
        } else if (c == '/') {
            addCommentOrSkip(text, at, tokens);
        } else {
            add(at++, 1, TokenKind::Punctuation);
        }
    }
    if (!source.readable)
        return tokens;
    // The body: numbers, commas, braces, comments, "}" and ";".
    std::size_t next = 0;
    for (std::size_t at = source.openBrace + 1; at < source.end;) {
        const char c = text[at];
        if (next < source.numberCount && at == source.numbers[next].position) {
            add(at, source.numbers[next].length, TokenKind::Number);
            at += source.numbers[next++].length;
        } else if (c == '/') {
            addCommentOrSkip(text, at, tokens);
        } else if (c == ',' || c == '{' || c == '}' || c == ';') {
            add(at++, 1, TokenKind::Punctuation);
        } else {
            ++at;
        }
    }
    return tokens;
}

} // namespace

std::vector<TokenSpan> declarationTokens(std::string_view text, const Declaration& declaration)
{
    return tokensOf(text, {declaration.start, declaration.identifierStart, declaration.identifierEnd,
                           declaration.openBrace, declaration.end, declaration.readable,
                           declaration.numbers.data(), declaration.readable ? kRowCount : 0});
}

std::vector<TokenSpan> byteArrayTokens(std::string_view text, const ByteArray& array)
{
    return tokensOf(text, {array.start, array.identifierStart, array.identifierEnd, array.openBrace,
                           array.end, array.readable, array.numbers.data(), array.numbers.size()});
}

} // namespace bitloom::grammar
