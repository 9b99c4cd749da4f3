#include "tilenames.h"

namespace bitloom {

namespace {

constexpr bool isAsciiDigit(unsigned char c)
{
    return c >= '0' && c <= '9';
}
constexpr bool isIdentifierChar(unsigned char c)
{
    return isAsciiDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
// Bytes 10xxxxxx continue a UTF-8 character; every other byte starts one.
constexpr bool isContinuationByte(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

} // namespace

std::string tileStem(std::string_view baseName)
{
    std::string stem;
    stem.reserve(baseName.size());
    for (const char ch : baseName) {
        const auto c = static_cast<unsigned char>(ch);
        if (isIdentifierChar(c))
            stem += ch;
        else if (!isContinuationByte(c))
            stem += '_';
    }
    if (stem.empty())
        return "_";
    if (isAsciiDigit(static_cast<unsigned char>(stem.front())))
        stem.front() = '_';
    return stem;
}

std::string sheetIndexText(const std::vector<std::string>& names)
{
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        text += std::to_string(i) + ' ';
        // A name may hold line breaks; escaped, each entry stays one line.
        for (const char c : names[i]) {
            switch (c) {
            case '\\': text += "\\\\"; break;
            case '\n': text += "\\n"; break;
            case '\r': text += "\\r"; break;
            default: text += c;
            }
        }
        text += '\n';
    }
    return text;
}

std::vector<std::optional<std::string>> parseSheetIndex(std::string_view text)
{
    std::vector<std::optional<std::string>> names;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        // A raw carriage return can only be a line ending: the names' own
        // are escaped.
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);

        std::size_t digits = 0;
        int index = 0;
        while (digits < line.size() && isAsciiDigit(static_cast<unsigned char>(line[digits]))
               && index < kMaxSheetTiles) {
            index = index * 10 + (line[digits] - '0');
            ++digits;
        }
        if (digits == 0 || index >= kMaxSheetTiles || digits >= line.size() || line[digits] != ' ')
            continue;

        std::string name;
        bool usable = true;
        for (std::size_t i = digits + 1; i < line.size(); ++i) {
            char c = line[i];
            if (c == '\0') {
                usable = false; // such a name could not be saved and opened again
                break;
            }
            if (c == '\\' && i + 1 < line.size()) {
                const char next = line[i + 1];
                if (next == '\\' || next == 'n' || next == 'r') {
                    c = next == 'n' ? '\n' : next == 'r' ? '\r' : '\\';
                    ++i;
                }
            }
            name += c;
        }
        if (!usable)
            continue;
        if (names.size() <= std::size_t(index))
            names.resize(std::size_t(index) + 1);
        names[std::size_t(index)] = std::move(name);
    }
    return names;
}

void nameTiles(std::vector<Tile>& tiles, const std::vector<std::optional<std::string>>& index)
{
    for (std::size_t i = 0; i < tiles.size() && i < index.size(); ++i) {
        // A declaration is one line: a name with a line break would split
        // its own declaration, which could then not be found again.
        if (index[i] && index[i]->find_first_of("\r\n") == std::string::npos)
            tiles[i].name = *index[i];
    }
}

} // namespace bitloom
