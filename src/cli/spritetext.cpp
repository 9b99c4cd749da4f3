#include "spritetext.h"

#include "codegen/diagnostics.h"
#include "codegen/reader.h"

#include <unordered_map>

namespace bitloom::cli {

namespace {

constexpr char kCellCharacters[kShadeCount] = {'.', '+', '*', '#'};

char cellCharacter(Cell shade)
{
    return isShade(shade) ? kCellCharacters[codeOf(shade)] : kCellCharacters[0];
}

// Appends the pictures of a tile array, each as its name line and its rows,
// every line after `prefix`; `between` follows each picture.
void appendArrayPictures(std::string& out, const TileArray& array, std::string_view prefix,
                         std::string_view between)
{
    if (array.image.wide()) {
        const int width = array.image.width;
        const std::vector<Cell> pixels = decodeImage(array.image, array.bytes);
        out.reserve(out.size() + std::size_t(array.image.height) * (prefix.size() + std::size_t(width) + 1));
        out.append(prefix).append(imageNameLine(array)) += '\n';
        for (std::size_t row = 0; row + std::size_t(width) <= pixels.size(); row += std::size_t(width)) {
            out.append(prefix);
            for (std::size_t x = 0; x < std::size_t(width); ++x)
                out += cellCharacter(pixels[row + x]);
            out += '\n';
        }
        out.append(between);
        return;
    }
    const std::size_t pictureSize =
        (prefix.size() + kGridSide + 1) * (kGridSide + 1) + array.name.size() + 16;
    out.reserve(out.size() + std::size_t(array.tileCount()) * pictureSize);
    for (int index = 0; index < array.tileCount(); ++index) {
        out.append(prefix).append(tileNameLine(array, index)) += '\n';
        const Shades tile = array.tile(index);
        for (int row = 0; row < kGridSide; ++row)
            out.append(prefix).append(pictureRow(tile, row)) += '\n';
        out.append(between);
    }
}

} // namespace

std::string pictureRow(const Shades& codes, int row)
{
    std::string line(kGridSide, ' ');
    for (int column = 0; column < kGridSide; ++column)
        line[std::size_t(column)] = cellCharacter(codes[std::size_t(cellAt(row, column))]);
    return line;
}

std::string tileNameLine(const TileArray& array, int index)
{
    return array.tileName(index) + " (" + std::string(layoutId(array.image.layout)) + ")";
}

std::string imageNameLine(const TileArray& array)
{
    return array.name + " (" + std::string(layoutId(array.image.layout)) + ", "
           + std::to_string(array.image.width) + "\u00D7" + std::to_string(array.image.height) + ")";
}

std::string spriteListing(std::string_view text, const LayoutChooser& choose)
{
    std::string out;
    for (const DeclaredSprite& sprite : readDeclarations(text)) {
        out.reserve(out.size() + sprite.name.size() + 1 + kGridSide * (kGridSide + 1) + 1);
        out += sprite.name;
        out += '\n';
        for (int row = 0; row < kGridSide; ++row) {
            out += pictureRow(sprite.shades, row);
            out += '\n';
        }
        out += '\n';
    }
    for (const TileArray& array : readTileArrays(text, choose).arrays)
        appendArrayPictures(out, array, {}, "\n");
    return out;
}

std::string annotatedText(std::string_view text, const LayoutChooser& choose)
{
    // The line each sprite's picture follows: where the declaration Open
    // reads for its dark plane ends, or for its light plane without one.
    std::unordered_map<std::string_view, int> lightEnd, darkEnd;
    for (const DeclarationSite& site : scanDeclarations(text))
        (site.plane == Plane::Light ? lightEnd : darkEnd).emplace(site.name, site.lastLine);
    std::unordered_map<int, std::string> picturesAfter; // line -> picture lines
    for (const DeclaredSprite& sprite : readDeclarations(text)) {
        const auto dark = darkEnd.find(sprite.name);
        const int line = dark != darkEnd.end() ? dark->second : lightEnd.at(sprite.name);
        std::string& lines = picturesAfter[line];
        for (int row = 0; row < kGridSide; ++row)
            lines.append("// ").append(pictureRow(sprite.shades, row)) += '\n';
    }
    // A tile array's pictures follow the line end of the line holding its
    // ";" (a lone carriage return counts), after any sprite's that ends there.
    std::vector<std::pair<std::size_t, std::string>> arrayPictures; // offset -> picture lines
    std::size_t added = 0;
    for (const TileArray& array : readTileArrays(text, choose).arrays) {
        const std::size_t after = array.lineEnd < text.size() ? array.lineEnd + 1 : text.size();
        if (arrayPictures.empty() || arrayPictures.back().first != after)
            arrayPictures.emplace_back(after, std::string());
        appendArrayPictures(arrayPictures.back().second, array, "// ", {});
    }
    for (const auto& [line, pictures] : picturesAfter)
        added += pictures.size();
    for (const auto& [offset, pictures] : arrayPictures)
        added += pictures.size();

    std::string out;
    out.reserve(text.size() + added + 1);
    auto nextArray = arrayPictures.begin();
    const auto addPictures = [&](const std::string& pictures) {
        if (!out.empty() && out.back() != '\n' && out.back() != '\r')
            out += '\n'; // the last line had no line feed of its own
        out += pictures;
    };
    int number = 1;
    for (std::size_t start = 0; start < text.size(); ++number) {
        const std::size_t newline = text.find('\n', start);
        const std::size_t end = newline == std::string_view::npos ? text.size() : newline + 1;
        // Arrays end on lines of their own count; a lone carriage return
        // may end one inside this line.
        std::size_t from = start;
        for (; nextArray != arrayPictures.end() && nextArray->first <= end; ++nextArray) {
            out.append(text.substr(from, nextArray->first - from));
            from = nextArray->first;
            if (from < end)
                addPictures(nextArray->second);
            else
                break; // after this line's sprites
        }
        out.append(text.substr(from, end - from));
        if (const auto pictures = picturesAfter.find(number); pictures != picturesAfter.end())
            addPictures(pictures->second);
        for (; nextArray != arrayPictures.end() && nextArray->first == end; ++nextArray)
            addPictures(nextArray->second);
        start = end;
    }
    return out;
}

} // namespace bitloom::cli
