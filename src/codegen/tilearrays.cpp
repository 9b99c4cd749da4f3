#include "tilearrays.h"

#include <algorithm>
#include <unordered_set>

namespace bitloom {

Shades TileArray::tile(int index) const
{
    return readTile(tileBits(image, index), bytes);
}

std::pair<std::size_t, std::size_t> TileArray::tileExtent(std::string_view text, int index) const
{
    const TileBits bits = tileBits(image, index);
    if (bits.bytes.empty())
        return {lineStart, lineEnd};
    const auto& first = numbers[std::size_t(bits.bytes.front())];
    const auto& last = numbers[std::size_t(bits.bytes.back())];
    std::size_t from = first.position;
    while (from > 0 && text[from - 1] != '\n' && text[from - 1] != '\r')
        --from;
    std::size_t to = last.position + last.length;
    while (to < text.size() && text[to] != '\n' && text[to] != '\r')
        ++to;
    return {from, to};
}

int TileArrays::tileCount() const
{
    int count = 0;
    for (const TileArray& array : arrays)
        count += array.tileCount();
    return count;
}

const TileArray* TileArrays::find(std::string_view name) const
{
    const auto found =
        std::find_if(arrays.begin(), arrays.end(), [&](const TileArray& a) { return a.name == name; });
    return found == arrays.end() ? nullptr : &*found;
}

TileArrays readTileArrays(std::string_view text, const LayoutChooser& choose)
{
    return readTileArrays(text, grammar::scanByteArrays(text), choose);
}

TileArrays readTileArrays(std::string_view text, const std::vector<grammar::ByteArray>& scanned,
                          const LayoutChooser& choose)
{
    // Sprite planes are pair sprites, never tiles.
    std::unordered_set<std::size_t> planes;
    for (const grammar::Declaration& plane : grammar::pairDeclarations(text, scanned))
        planes.insert(plane.start);

    TileArrays result;
    std::optional<FileClues> clues; // read once, and only for a text with candidates
    for (const grammar::ByteArray& scan : scanned) {
        if (!scan.readable || scan.numbers.empty() || planes.count(scan.start))
            continue;
        if (!clues)
            clues = readFileClues(text);
        ByteArray candidate{std::string(scan.name), scan.start, {}, {}};
        if (scan.innerCount)
            candidate.innerDimension = int(*scan.innerCount);
        candidate.bytes.reserve(scan.numbers.size());
        for (const grammar::NumberToken& number : scan.numbers)
            candidate.bytes.push_back(number.value);
        const LayoutDetection detection =
            detectLayout(*clues, candidate, choose ? choose(scan.name) : LayoutChoice{});
        if (!detection.image) {
            if (detection.fitsNoLayout)
                result.fitsNoLayout.push_back(candidate.name);
            continue;
        }
        TileArray array;
        array.name = std::move(candidate.name);
        array.image = *detection.image;
        array.source = detection.source;
        array.numbers = scan.numbers;
        array.bytes = std::move(candidate.bytes);
        array.lowerHex = grammar::usesLowerHex(text, scan.numbers);
        array.start = scan.start;
        array.lineStart = scan.lineStart;
        array.lineEnd = scan.lineEnd;
        array.line = scan.line;
        array.lastLine = scan.lastLine;
        result.arrays.push_back(std::move(array));
    }
    return result;
}

std::optional<TileEdit> writeTileEdit(std::string_view text, const TileArray& array, int index,
                                      const Shades& drawing)
{
    if (!array.image.editable() || index < 0 || index >= array.tileCount())
        return std::nullopt;
    std::vector<std::uint8_t> bytes = array.bytes;
    TileEdit result;
    result.mappedShades = writeTile(tileBits(array.image, index), drawing, bytes);
    std::vector<grammar::NumberToken> tokens;
    std::vector<std::uint8_t> values;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != array.bytes[i]) {
            tokens.push_back(array.numbers[i]);
            values.push_back(bytes[i]);
        }
    }
    if (!tokens.empty())
        result.edit = grammar::rewriteTokens(text, tokens, values, array.lowerHex);
    else
        result.edit = TextEdit{array.start, 0, {}};
    return result;
}

std::string tileBytesText(std::string_view text, const TileArray& array, int index)
{
    const EncodedTile tile = encodeTile(array.image.layout, array.tile(index));
    const TileBits bits = tileBits(array.image, index);
    std::string line;
    for (std::size_t k = 0; k < tile.bytes.size(); ++k) {
        // Each byte written as a number of this tile is written in the text
        // (its prefix, width, suffix and letter case), by the grammar's own
        // rewrite of that one number.
        const std::size_t model =
            bits.bytes.empty() ? 0 : std::size_t(bits.bytes[std::min(k, bits.bytes.size() - 1)]);
        grammar::NumberToken token = array.numbers[model];
        std::string number(text.substr(token.position, token.length));
        token.position = 0;
        applyEdit(number, grammar::rewriteTokens(number, {token}, {tile.bytes[k]}, array.lowerHex));
        if (k > 0)
            line += ", ";
        line += number;
    }
    return line;
}

std::optional<Shades> tileFromBytesText(std::string_view line, TileLayout layout)
{
    // Read as the body of an array, so that every notation, comment and
    // trailing comma the grammar takes is taken here too.
    std::string body(line);
    while (!body.empty() && (body.back() == '\n' || body.back() == '\r'))
        body.pop_back();
    const std::string text = "unsigned char tile[] = {" + body + "\n};\n";
    const std::vector<grammar::ByteArray> arrays = grammar::scanByteArrays(text);
    if (arrays.size() != 1 || !arrays[0].readable
        || arrays[0].numbers.size() != std::size_t(bytesPerTile(layout)))
        return std::nullopt;
    std::vector<std::uint8_t> bytes;
    for (const grammar::NumberToken& number : arrays[0].numbers)
        bytes.push_back(number.value);
    return decodeTile(layout, bytes);
}

} // namespace bitloom
