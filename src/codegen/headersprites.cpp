#include "headersprites.h"

#include "codegen/grammar.h"
#include "codegen/reader.h"
#include "codegen/tilearrays.h"

#include <algorithm>

namespace bitloom {

namespace {

bool isBlankByte(char c)
{
    return c == ' ' || c == '\t';
}

// The label a tile's line gives it: the text of a "//" comment that ends the
// line its bytes stand on, when no other bytes of the array share that line.
std::string lineLabel(std::string_view text, const std::vector<grammar::NumberToken>& numbers,
                      const TileBits& bits)
{
    const std::vector<int>& used = bits.bytes;
    if (used.empty() || used.back() - used.front() + 1 != int(used.size()))
        return {};
    const grammar::NumberToken& first = numbers[std::size_t(used.front())];
    const grammar::NumberToken& last = numbers[std::size_t(used.back())];
    const std::size_t lineStart = text.rfind('\n', first.position) + 1; // npos + 1 is 0
    std::size_t lineEnd = text.find('\n', last.position);
    if (lineEnd == std::string_view::npos)
        lineEnd = text.size();
    if (text.substr(lineStart, last.position - lineStart).find('\n') != std::string_view::npos)
        return {};
    const auto onLine = [&](std::size_t index) {
        return index < numbers.size() && numbers[index].position >= lineStart
               && numbers[index].position < lineEnd;
    };
    if ((used.front() > 0 && onLine(std::size_t(used.front() - 1))) || onLine(std::size_t(used.back() + 1)))
        return {};
    std::size_t at = last.position + last.length;
    while (at < lineEnd && (isBlankByte(text[at]) || text[at] == ',' || text[at] == '}'))
        ++at;
    if (text.substr(at, 2) != "//")
        return {};
    std::string_view label = text.substr(at + 2, lineEnd - at - 2);
    while (!label.empty() && isBlankByte(label.front()))
        label.remove_prefix(1);
    while (!label.empty() && (isBlankByte(label.back()) || label.back() == '\r'))
        label.remove_suffix(1);
    return std::string(label);
}

} // namespace

std::vector<SourceDrawing> headerDrawings(std::string_view text, const std::vector<LayoutOption>& options)
{
    std::vector<SourceDrawing> drawings;
    for (DeclaredSprite& sprite : readDeclarations(text))
        drawings.push_back({std::move(sprite.name), sprite.shades, {}});

    const auto choose = [&](std::string_view array) { return choiceFromOptions(options, array); };
    for (const TileArray& array : readTileArrays(text, choose).arrays) {
        for (int i = 0; i < array.tileCount(); ++i)
            drawings.push_back(
                {array.tileName(i), array.tile(i), lineLabel(text, array.numbers, tileBits(array.image, i))});
    }
    return drawings;
}

std::variant<std::vector<SourceDrawing>, UnknownPick> pickDrawings(const std::vector<SourceDrawing>& all,
                                                                   const std::vector<std::string>& picks)
{
    if (picks.empty())
        return all;
    std::vector<SourceDrawing> picked;
    for (const std::string& pick : picks) {
        // A name declared twice is its first declaration, as the window has it.
        const auto found =
            std::find_if(all.begin(), all.end(), [&](const SourceDrawing& d) { return d.name == pick; });
        if (found != all.end()) {
            picked.push_back(*found);
            continue;
        }
        bool array = false;
        for (const SourceDrawing& drawing : all) {
            if (const auto tile = parseArrayTileName(drawing.name); tile && tile->array == pick) {
                picked.push_back(drawing);
                array = true;
            }
        }
        if (!array)
            return UnknownPick{pick};
    }
    return picked;
}

} // namespace bitloom
