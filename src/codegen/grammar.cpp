#include "grammar.h"

#include <algorithm>
#include <iterator>
#include <string>

namespace bitloom::grammar {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLightSuffix = "light";
constexpr std::string_view kDarkSuffix = "dark";

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isWordChar(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

std::size_t firstLineStart(std::string_view text)
{
    return text.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
}

std::size_t lineEndFrom(std::string_view text, std::size_t at)
{
    return std::min(text.find('\n', at), text.size());
}

std::size_t skipBlanks(std::string_view text, std::size_t at, std::size_t limit)
{
    while (at < limit && isBlank(text[at]))
        ++at;
    return at;
}

// Whether `word` stands at `at` as a whole word (not the start of a longer one).
bool wordAt(std::string_view text, std::size_t at, std::size_t limit, std::string_view word)
{
    if (limit - at < word.size() || text[at] != word[0] || text.compare(at, word.size(), word) != 0)
        return false;
    const std::size_t after = at + word.size();
    return after == limit || !isWordChar(text[after]);
}

// Skips the qualifiers and the type of a head line; returns where the name
// may begin (after the blanks that must follow the type), or nothing.
std::optional<std::size_t> skipQualifiersAndType(std::string_view text, std::size_t at, std::size_t limit)
{
    at = skipBlanks(text, at, limit);
    bool seenStatic = false, seenConst = false, seenConstexpr = false;
    while (true) {
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
        } else {
            break;
        }
        if (*seen)
            return std::nullopt;
        *seen = true;
        at = skipBlanks(text, at + length, limit);
    }
    std::size_t typeEnd = 0;
    if (wordAt(text, at, limit, "unsigned")) {
        const std::size_t word = skipBlanks(text, at + 8, limit);
        if (word == at + 8 || !wordAt(text, word, limit, "char"))
            return std::nullopt;
        typeEnd = word + 4;
    } else if (wordAt(text, at, limit, "uint8_t")) {
        typeEnd = at + 7;
    } else if (wordAt(text, at, limit, "std")) {
        std::size_t colons = skipBlanks(text, at + 3, limit);
        if (limit - colons < 2 || text.compare(colons, 2, "::") != 0)
            return std::nullopt;
        const std::size_t word = skipBlanks(text, colons + 2, limit);
        if (!wordAt(text, word, limit, "uint8_t"))
            return std::nullopt;
        typeEnd = word + 7;
    } else {
        return std::nullopt;
    }
    const std::size_t name = skipBlanks(text, typeEnd, limit);
    if (name == typeEnd)
        return std::nullopt;
    return name;
}

// Reads what follows a suffix on the head line: "[]" or "[8]", maybe
// "PROGMEM", then "=" and "{". Returns the position of the "{".
std::optional<std::size_t> headTail(std::string_view text, std::size_t at, std::size_t limit)
{
    at = skipBlanks(text, at, limit);
    if (at == limit || text[at] != '[')
        return std::nullopt;
    at = skipBlanks(text, at + 1, limit);
    if (at < limit && text[at] == '8')
        at = skipBlanks(text, at + 1, limit);
    if (at == limit || text[at] != ']')
        return std::nullopt;
    at = skipBlanks(text, at + 1, limit);
    if (wordAt(text, at, limit, "PROGMEM"))
        at = skipBlanks(text, at + 7, limit);
    if (at == limit || text[at] != '=')
        return std::nullopt;
    at = skipBlanks(text, at + 1, limit);
    if (at == limit || text[at] != '{')
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

// Reads one number token (a run of word characters) as a byte.
std::optional<NumberToken> readNumber(std::string_view token, std::size_t position)
{
    NumberToken number{position, token.size(), 0, Notation::Decimal};
    int base = 10;
    std::string_view digits = token;
    if (token.size() >= 2 && token[0] == '0' && (token[1] == 'x' || token[1] == 'X')) {
        number.notation = Notation::Hex;
        base = 16;
        digits.remove_prefix(2);
    } else if (token.size() >= 2 && token[0] == '0' && (token[1] == 'b' || token[1] == 'B')) {
        number.notation = Notation::Binary;
        base = 2;
        digits.remove_prefix(2);
    } else if (token.size() >= 2 && token[0] == '0') {
        number.notation = Notation::Octal;
        base = 8;
        digits.remove_prefix(1);
    }
    if (digits.empty())
        return std::nullopt;
    int value = 0;
    for (const char c : digits) {
        const int digit = digitValue(c);
        if (digit >= base)
            return std::nullopt;
        value = value * base + digit;
        if (value > 255)
            return std::nullopt;
    }
    number.value = static_cast<std::uint8_t>(value);
    return number;
}

// Walks over blanks, line breaks and comments between body tokens.
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
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
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

private:
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

    std::string_view mText;
    std::size_t mSearchedFrom = std::string_view::npos;
    std::size_t mFound = std::string_view::npos;
};

// Reads the body after the "{" into `declaration`; false when it is not 8
// numbers closed by "}" and ";".
bool readBody(std::string_view text, Declaration& declaration, TriviaSkipper& trivia)
{
    std::size_t at = declaration.openBrace + 1;
    std::size_t count = 0;
    while (true) {
        auto next = trivia.skip(at);
        if (!next)
            return false;
        at = *next;
        if (count == kRowCount)
            break;
        std::size_t tokenEnd = at;
        while (tokenEnd < text.size() && isWordChar(text[tokenEnd]))
            ++tokenEnd;
        const auto number = readNumber(text.substr(at, tokenEnd - at), at);
        if (!number)
            return false;
        declaration.numbers[count++] = *number;
        next = trivia.skip(tokenEnd);
        if (!next)
            return false;
        at = *next;
        if (at < text.size() && text[at] == ',') {
            ++at;
            continue;
        }
        if (count != kRowCount)
            return false;
        break;
    }
    if (at == text.size() || text[at] != '}')
        return false;
    declaration.closeBrace = at;
    const auto semicolon = trivia.skip(at + 1);
    if (!semicolon || *semicolon == text.size() || text[*semicolon] != ';')
        return false;
    declaration.end = *semicolon + 1;
    declaration.lineEnd = lineEndFrom(text, declaration.end);
    return true;
}

// Reads the head line from `lineStart` to `headLineEnd`. The identifier is
// the last "light" or "dark" on the line that a valid head tail follows, so
// a name that itself holds a head ("Alight[]={x") is still its own.
// Whether the body after the "{" at `brace` ends on its head line whether
// or not it can be read: no comment may carry it on, and a "}" and then a
// ";" stand on the line. Such a body need not be read to know where the
// next line to look at begins.
bool bodyEndsOnHeadLine(std::string_view text, std::size_t brace, std::size_t headLineEnd)
{
    const std::string_view rest = text.substr(brace + 1, headLineEnd - brace - 1);
    const std::size_t close = rest.find('}');
    return close != std::string_view::npos && rest.find(';', close) != std::string_view::npos
           && rest.find('/') == std::string_view::npos;
}

// With `only`, a declaration of another name whose body ends on its head
// line is passed over unread: `skipped` is set and nothing is returned.
std::optional<Declaration> parseAt(std::string_view text, std::size_t lineStart, std::size_t headLineEnd,
                                   int line, TriviaSkipper& trivia, const std::string_view* only = nullptr,
                                   bool* skipped = nullptr)
{
    const auto nameStart = skipQualifiersAndType(text, lineStart, headLineEnd);
    if (!nameStart)
        return std::nullopt;
    for (std::size_t at = headLineEnd; at-- > *nameStart;) {
        const char c = text[at];
        if (c != 'l' && c != 'd')
            continue;
        std::string_view suffix;
        if (c == 'l' && text.compare(at, kLightSuffix.size(), kLightSuffix) == 0)
            suffix = kLightSuffix;
        else if (c == 'd' && text.compare(at, kDarkSuffix.size(), kDarkSuffix) == 0)
            suffix = kDarkSuffix;
        else
            continue;
        const std::size_t identifierEnd = at + suffix.size();
        if (identifierEnd > headLineEnd)
            continue;
        const auto brace = headTail(text, identifierEnd, headLineEnd);
        if (!brace)
            continue;
        if (only && text.substr(*nameStart, at - *nameStart) != *only
            && bodyEndsOnHeadLine(text, *brace, headLineEnd)) {
            *skipped = true;
            return std::nullopt;
        }
        Declaration declaration;
        declaration.plane = suffix == kLightSuffix ? Plane::Light : Plane::Dark;
        declaration.name = text.substr(*nameStart, at - *nameStart);
        declaration.lineStart = lineStart;
        declaration.identifierStart = *nameStart;
        declaration.identifierEnd = identifierEnd;
        declaration.openBrace = *brace;
        declaration.line = line;
        declaration.readable = readBody(text, declaration, trivia);
        if (!declaration.readable) {
            declaration.numbers = {};
            declaration.closeBrace = 0;
            declaration.end = headLineEnd;
            declaration.lineEnd = headLineEnd;
        }
        return declaration;
    }
    return std::nullopt;
}

// Walks the declarations of a text in order. A head line must hold one of
// the type words, so the walk only looks at lines holding "char" or
// "uint8_t" and jumps over all others at the speed of a text search.
class Scanner {
public:
    // With `only`, the walk need not read the bodies of other names'
    // declarations: it may pass over them without returning them.
    explicit Scanner(std::string_view text, std::optional<std::string_view> only = std::nullopt)
        : mText(text),
          mOnly(only),
          mTrivia(text),
          mAt(firstLineStart(text)),
          mChar(text.find("char", mAt)),
          mUint(text.find("uint8_t", mAt))
    {
    }

    std::optional<Declaration> next()
    {
        while (mAt < mText.size()) {
            const std::size_t word = nextTypeWord();
            if (word == std::string_view::npos) {
                mAt = mText.size();
                break;
            }
            std::size_t lineStart = word;
            const std::size_t first = firstLineStart(mText);
            while (lineStart > mAt && lineStart > first && mText[lineStart - 1] != '\n')
                --lineStart;
            const std::size_t headLineEnd = lineEndFrom(mText, word);
            const int line = lineNumberAt(lineStart);
            bool skipped = false;
            auto declaration =
                parseAt(mText, lineStart, headLineEnd, line, mTrivia, mOnly ? &*mOnly : nullptr, &skipped);
            mAt = declaration ? declaration->lineEnd : headLineEnd;
            if (mAt < mText.size())
                ++mAt;
            if (declaration)
                return declaration;
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
        mLine += static_cast<int>(std::count(mText.begin() + static_cast<std::ptrdiff_t>(mCounted),
                                             mText.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
        mCounted = at;
        return mLine;
    }

    std::string_view mText;
    std::optional<std::string_view> mOnly;
    TriviaSkipper mTrivia;
    std::size_t mAt;
    std::size_t mChar; // the next "char" not yet passed, or npos
    std::size_t mUint; // the next "uint8_t" not yet passed, or npos
    std::size_t mCounted = 0;
    int mLine = 1;
};

// Where the content of the line ending at `lineEnd` (its '\n' or the text
// size) stops: before the CR of a CRLF. New lines are inserted there.
std::size_t contentEnd(std::string_view text, std::size_t lineEnd)
{
    return lineEnd > 0 && lineEnd < text.size() && text[lineEnd - 1] == '\r' ? lineEnd - 1 : lineEnd;
}

bool firstLineEndIsCrlf(std::string_view text)
{
    const std::size_t feed = text.find('\n');
    return feed != std::string_view::npos && feed > 0 && text[feed - 1] == '\r';
}

std::size_t prefixLength(Notation notation)
{
    switch (notation) {
    case Notation::Hex:
    case Notation::Binary: return 2;
    case Notation::Octal: return 1;
    case Notation::Decimal: break;
    }
    return 0;
}

// Writes `value` with the given prefix and at least `width` digits.
void appendNumber(std::string& out, std::uint8_t value, Notation notation, std::string_view prefix,
                  std::size_t width, bool lowerHex)
{
    const char* digits = lowerHex ? "0123456789abcdef" : "0123456789ABCDEF";
    unsigned base = 10;
    if (notation == Notation::Hex)
        base = 16;
    else if (notation == Notation::Binary)
        base = 2;
    else if (notation == Notation::Octal)
        base = 8;
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
}

// Hex digits are written in lower case when the body already uses lower
// case letters, in upper case otherwise.
bool bodyUsesLowerHex(std::string_view text, const Declaration& declaration)
{
    for (const NumberToken& number : declaration.numbers) {
        if (number.notation != Notation::Hex)
            continue;
        for (std::size_t i = 2; i < number.length; ++i) {
            const char c = text[number.position + i];
            if (c >= 'a' && c <= 'f')
                return true;
        }
    }
    return false;
}

void appendLike(std::string& out, std::string_view text, const NumberToken& like, std::uint8_t value,
                bool lowerHex)
{
    const std::size_t prefix = prefixLength(like.notation);
    appendNumber(out, value, like.notation, text.substr(like.position, prefix), like.length - prefix,
                 lowerHex);
}

// The declaration a text without declarations gets: the program's own shape.
std::string ownShape(std::string_view name, Plane plane, const std::array<std::uint8_t, kRowCount>& bytes)
{
    std::string out = "static unsigned char ";
    out.append(name).append(plane == Plane::Light ? kLightSuffix : kDarkSuffix).append("[]={");
    for (std::size_t i = 0; i < kRowCount; ++i) {
        if (i > 0)
            out.push_back(',');
        appendNumber(out, bytes[i], Notation::Hex, "0x", 2, false);
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

// A declaration shaped like `model`, all on one line.
std::string shapeLike(std::string_view text, const Declaration& model, std::string_view name, Plane plane,
                      const std::array<std::uint8_t, kRowCount>& bytes)
{
    std::string out;
    out.append(text.substr(model.lineStart, model.identifierStart - model.lineStart));
    out.append(name).append(plane == Plane::Light ? kLightSuffix : kDarkSuffix);
    out.append(text.substr(model.identifierEnd, model.openBrace + 1 - model.identifierEnd));
    const NumberToken& first = model.numbers.front();
    TriviaSkipper trivia(text);
    const std::size_t comma = *trivia.skip(first.position + first.length);
    const std::string_view separatorBlanks = blanksAt(text, comma + 1, text.size());
    const bool oneLine =
        text.substr(model.openBrace, model.closeBrace - model.openBrace).find('\n') == std::string_view::npos;
    if (oneLine)
        out.append(blanksAt(text, model.openBrace + 1, model.closeBrace));
    const bool lowerHex = bodyUsesLowerHex(text, model);
    for (std::size_t i = 0; i < kRowCount; ++i) {
        if (i > 0)
            out.append(",").append(separatorBlanks);
        appendLike(out, text, first, bytes[i], lowerHex);
    }
    if (oneLine)
        out.append(blanksBefore(text, model.closeBrace, model.openBrace + 1));
    out.append("};");
    return out;
}

} // namespace

std::array<std::uint8_t, kRowCount> Declaration::bytes() const
{
    std::array<std::uint8_t, kRowCount> rows{};
    for (std::size_t i = 0; i < kRowCount; ++i)
        rows[i] = numbers[i].value;
    return rows;
}

std::optional<Declaration> parseDeclarationAt(std::string_view text, std::size_t lineStart)
{
    TriviaSkipper trivia(text);
    const int line = 1
                     + static_cast<int>(std::count(
                         text.begin(), text.begin() + static_cast<std::ptrdiff_t>(lineStart), '\n'));
    return parseAt(text, lineStart, lineEndFrom(text, lineStart), line, trivia);
}

std::vector<Declaration> scanDeclarations(std::string_view text)
{
    std::vector<Declaration> declarations;
    Scanner scanner(text);
    while (auto declaration = scanner.next())
        declarations.push_back(*declaration);
    return declarations;
}

std::string_view spriteName(std::string_view typed)
{
    return typed.substr(std::min(typed.find_first_not_of(" \t"), typed.size()));
}

std::optional<Declaration> findDeclaration(std::string_view text, std::string_view name, Plane plane)
{
    name = spriteName(name);
    Scanner scanner(text, name);
    while (auto declaration = scanner.next()) {
        if (declaration->plane == plane && declaration->name == name)
            return declaration;
    }
    return std::nullopt;
}

SpriteDeclarations findSprite(std::string_view text, std::string_view name)
{
    name = spriteName(name);
    SpriteDeclarations found;
    Scanner scanner(text, name);
    while (!(found.light && found.dark)) {
        auto declaration = scanner.next();
        if (!declaration)
            break;
        if (declaration->name != name)
            continue;
        auto& first = declaration->plane == Plane::Light ? found.light : found.dark;
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
    const bool lowerHex = bodyUsesLowerHex(text, declaration);
    const NumberToken& first = declaration.numbers.front();
    const NumberToken& last = declaration.numbers.back();
    TextEdit edit{first.position, last.position + last.length - first.position, {}};
    edit.inserted.reserve(edit.removed + 8);
    std::size_t copied = first.position;
    for (std::size_t i = 0; i < kRowCount; ++i) {
        const NumberToken& number = declaration.numbers[i];
        edit.inserted.append(text.substr(copied, number.position - copied));
        appendLike(edit.inserted, text, number, bytes[i], lowerHex);
        copied = number.position + number.length;
    }
    return edit;
}

TextEdit newDeclaration(std::string_view text, std::string_view name, Plane plane,
                        const std::array<std::uint8_t, kRowCount>& bytes)
{
    name = spriteName(name);
    std::optional<Declaration> model;
    std::optional<Declaration> light;
    Scanner scanner(text);
    while (auto declaration = scanner.next()) {
        if (!declaration->readable)
            continue;
        if (plane == Plane::Dark && !light && declaration->plane == Plane::Light && declaration->name == name)
            light = declaration;
        model = declaration;
    }
    if (!model) {
        // At the end, but before a final line end so the text keeps ending
        // with one.
        std::size_t at = text.size();
        if (at > 0 && text[at - 1] == '\n')
            at -= at > 1 && text[at - 2] == '\r' ? 2 : 1;
        const std::string lineEnd = firstLineEndIsCrlf(text) ? "\r\n" : "\n";
        return {at, 0, lineEnd + ownShape(name, plane, bytes)};
    }
    const Declaration& anchor = light ? *light : *model;
    const std::size_t at = contentEnd(text, anchor.lineEnd);
    bool crlf = false;
    if (anchor.lineEnd < text.size())
        crlf = at < anchor.lineEnd;
    else
        crlf = firstLineEndIsCrlf(text);
    return {at, 0, (crlf ? "\r\n" : "\n") + shapeLike(text, *model, name, plane, bytes)};
}

TextEdit removeDeclaration(std::string_view text, const Declaration& declaration)
{
    const std::size_t start = declaration.lineStart;
    const std::size_t stop = contentEnd(text, declaration.lineEnd);
    if (start > firstLineStart(text)) {
        // The line end before the declaration goes with it.
        const std::size_t from = start >= 2 && text[start - 2] == '\r' ? start - 2 : start - 1;
        return {from, stop - from, {}};
    }
    // The first line: the line end after it goes instead.
    const std::size_t through = declaration.lineEnd < text.size() ? declaration.lineEnd + 1 : text.size();
    return {start, through - start, {}};
}

TextEdit renameDeclaration(const Declaration& declaration, std::string_view newName)
{
    return {declaration.identifierStart, declaration.name.size(), std::string(spriteName(newName))};
}

std::vector<TokenSpan> declarationTokens(std::string_view text, const Declaration& declaration)
{
    std::vector<TokenSpan> tokens;
    const auto add = [&](std::size_t position, std::size_t length, TokenKind kind) {
        tokens.push_back({position, length, kind});
    };
    // The head before the name: qualifiers and type words.
    for (std::size_t at = declaration.lineStart; at < declaration.identifierStart;) {
        if (isBlank(text[at])) {
            ++at;
            continue;
        }
        if (text[at] == ':') {
            add(at, 2, TokenKind::Type);
            at += 2;
            continue;
        }
        std::size_t wordEnd = at;
        while (wordEnd < declaration.identifierStart && isWordChar(text[wordEnd]))
            ++wordEnd;
        if (wordEnd == at) { // nothing else stands in a head; never stall on it
            ++at;
            continue;
        }
        const std::string_view word = text.substr(at, wordEnd - at);
        const bool qualifier = word == "static" || word == "const" || word == "constexpr";
        add(at, wordEnd - at, qualifier ? TokenKind::Keyword : TokenKind::Type);
        at = wordEnd;
    }
    add(declaration.identifierStart, declaration.identifierEnd - declaration.identifierStart,
        TokenKind::Identifier);
    // The rest of the head: brackets, PROGMEM, "=", "{".
    for (std::size_t at = declaration.identifierEnd; at <= declaration.openBrace;) {
        const char c = text[at];
        if (isBlank(c)) {
            ++at;
        } else if (c == '8') {
            add(at++, 1, TokenKind::Number);
        } else if (c == 'P') {
            add(at, 7, TokenKind::Keyword);
            at += 7;
        } else {
            add(at++, 1, TokenKind::Punctuation);
        }
    }
    if (!declaration.readable)
        return tokens;
    // The body: numbers, commas, comments, "}" and ";".
    std::size_t next = 0;
    for (std::size_t at = declaration.openBrace + 1; at < declaration.end;) {
        const char c = text[at];
        if (next < kRowCount && at == declaration.numbers[next].position) {
            add(at, declaration.numbers[next].length, TokenKind::Number);
            at += declaration.numbers[next++].length;
        } else if (c == '/' && text[at + 1] == '/') {
            const std::size_t stop = contentEnd(text, lineEndFrom(text, at));
            add(at, stop - at, TokenKind::Comment);
            at = stop;
        } else if (c == '/' && text[at + 1] == '*') {
            const std::size_t stop = text.find("*/", at + 2) + 2;
            add(at, stop - at, TokenKind::Comment);
            at = stop;
        } else if (c == ',' || c == '}' || c == ';') {
            add(at++, 1, TokenKind::Punctuation);
        } else {
            ++at;
        }
    }
    return tokens;
}

} // namespace bitloom::grammar
