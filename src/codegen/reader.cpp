#include "reader.h"

#include "codegen/declaration.h"

#include <unordered_map>

namespace bitloom {

namespace {

// Length of the valid UTF-8 sequence at `at`, or 0. Overlong forms,
// surrogates and values beyond U+10FFFF are not valid.
std::size_t utf8SequenceLength(std::string_view text, std::size_t at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (at + length > text.size() || byte(at + 1) < low || byte(at + 1) > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
    }
    return length;
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::string_view trimmed(std::string_view item)
{
    const auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!item.empty() && isBlank(item.front()))
        item.remove_prefix(1);
    while (!item.empty() && isBlank(item.back()))
        item.remove_suffix(1);
    return item;
}

// One "0x" item of one or two hexadecimal digits.
std::optional<int> byteOf(std::string_view item)
{
    item = trimmed(item);
    if (item.size() < 3 || item.size() > 4 || item[0] != '0' || (item[1] != 'x' && item[1] != 'X'))
        return std::nullopt;
    int value = 0;
    for (const char c : item.substr(2)) {
        const int digit = hexValue(c);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + digit;
    }
    return value;
}

// The eight row bytes of a declaration; a row that cannot be read is none.
// `complete` tells whether the whole initialiser was eight readable items.
struct Rows {
    std::array<std::optional<int>, kGridSide> bytes{};
    bool complete = false;
};

Rows readRows(std::string_view line, const DeclarationLine& declaration)
{
    Rows rows;
    if (!declaration.bodyEnd)
        return rows;
    std::string_view body = line.substr(declaration.bodyStart, *declaration.bodyEnd - declaration.bodyStart);
    std::size_t count = 0;
    bool allRead = true;
    while (true) {
        const std::size_t comma = body.find(',');
        const std::string_view item = body.substr(0, comma);
        const auto value = byteOf(item);
        if (count < rows.bytes.size())
            rows.bytes[count] = value;
        allRead = allRead && value.has_value();
        ++count;
        if (comma == std::string_view::npos)
            break;
        body.remove_prefix(comma + 1);
    }
    rows.complete = allRead && count == rows.bytes.size();
    return rows;
}

struct Line {
    std::string_view text;
    int number;
};

} // namespace

std::optional<CodeTextRefusal> refusalForCodeText(std::string_view bytes)
{
    if (bytes.size() > kMaxCodeTextBytes)
        return CodeTextRefusal::TooLarge;
    for (std::size_t at = 0; at < bytes.size();) {
        if (bytes[at] == '\0')
            return CodeTextRefusal::NulByte;
        const std::size_t length = utf8SequenceLength(bytes, at);
        if (length == 0)
            return CodeTextRefusal::NotUtf8;
        at += length;
    }
    return std::nullopt;
}

std::vector<DeclaredSprite> readDeclarations(std::string_view text)
{
    // The first light line and the first dark line of each name.
    std::vector<std::pair<Line, DeclarationLine>> lights;
    std::unordered_map<std::string_view, std::pair<Line, DeclarationLine>> lightOf, darkOf;
    int number = 1;
    for (std::size_t start = firstLineStart(text); start <= text.size(); ++number) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const Line line{text.substr(start, end - start), number};
        if (const auto parsed = parseDeclarationLine(line.text)) {
            auto& firsts = parsed->plane == Plane::Light ? lightOf : darkOf;
            if (firsts.emplace(parsed->name, std::pair{line, *parsed}).second && parsed->plane == Plane::Light)
                lights.emplace_back(line, *parsed);
        }
        start = end + 1;
    }

    std::vector<DeclaredSprite> sprites;
    sprites.reserve(lights.size());
    for (const auto& [lightLine, light] : lights) {
        DeclaredSprite sprite{std::string(light.name), {}, {}};
        const Rows lightRows = readRows(lightLine.text, light);
        if (!lightRows.complete)
            sprite.unreadableLines.push_back(lightLine.number);
        Rows darkRows;
        darkRows.bytes.fill(0); // no dark line: no dark bits
        if (const auto dark = darkOf.find(light.name); dark != darkOf.end()) {
            darkRows = readRows(dark->second.first.text, dark->second.second);
            if (!darkRows.complete)
                sprite.unreadableLines.push_back(dark->second.first.number);
        }
        for (int row = 0; row < kGridSide; ++row) {
            const auto lightByte = lightRows.bytes[static_cast<std::size_t>(row)];
            const auto darkByte = darkRows.bytes[static_cast<std::size_t>(row)];
            if (!lightByte || !darkByte)
                continue; // stays white
            // Cell 8r + m holds bit m: the leftmost cell is the top bit.
            for (int m = 0; m < kGridSide; ++m) {
                const int code = ((*lightByte >> m) & 1) | (((*darkByte >> m) & 1) << 1);
                sprite.shades[static_cast<std::size_t>(row * kGridSide + m)] = static_cast<Shade>(code);
            }
        }
        sprites.push_back(std::move(sprite));
    }
    return sprites;
}

bool declarationReadable(std::string_view line, const DeclarationLine& declaration)
{
    return readRows(line, declaration).complete;
}

} // namespace bitloom
