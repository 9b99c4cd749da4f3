#include "spritetext.h"

#include "codegen/diagnostics.h"
#include "codegen/reader.h"

#include <unordered_map>

namespace bitloom::cli {

namespace {

constexpr char kCellCharacters[kPaletteSize] = {'.', '+', '*', '#'};

char cellCharacter(Shade code)
{
    return code >= 0 && code < kPaletteSize ? kCellCharacters[code] : kCellCharacters[0];
}

} // namespace

std::string pictureRow(const Shades& codes, int row)
{
    std::string line(kGridSide, ' ');
    for (int column = 0; column < kGridSide; ++column)
        line[std::size_t(column)] = cellCharacter(codes[std::size_t(cellAt(row, column))]);
    return line;
}

std::string spriteListing(std::string_view text)
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
    return out;
}

std::string annotatedText(std::string_view text)
{
    // The line each sprite's picture follows: where the declaration Open
    // reads for its dark plane ends, or for its light plane without one.
    std::unordered_map<std::string_view, int> lightEnd, darkEnd;
    for (const DeclarationSite& site : scanDeclarations(text))
        (site.plane == Plane::Light ? lightEnd : darkEnd).emplace(site.name, site.lastLine);
    std::unordered_map<int, std::vector<std::string>> picturesAfter; // line -> picture lines
    for (const DeclaredSprite& sprite : readDeclarations(text)) {
        const auto dark = darkEnd.find(sprite.name);
        const int line = dark != darkEnd.end() ? dark->second : lightEnd.at(sprite.name);
        std::vector<std::string>& lines = picturesAfter[line];
        for (int row = 0; row < kGridSide; ++row)
            lines.push_back("// " + pictureRow(sprite.shades, row));
    }

    std::string out;
    out.reserve(text.size() + picturesAfter.size() * kGridSide * 12);
    int number = 1;
    for (std::size_t start = 0; start < text.size(); ++number) {
        const std::size_t newline = text.find('\n', start);
        const std::size_t end = newline == std::string_view::npos ? text.size() : newline + 1;
        out.append(text.substr(start, end - start));
        if (const auto pictures = picturesAfter.find(number); pictures != picturesAfter.end()) {
            if (newline == std::string_view::npos)
                out += '\n'; // the last line had no line feed of its own
            for (const std::string& line : pictures->second) {
                out += line;
                out += '\n';
            }
        }
        start = end;
    }
    return out;
}

} // namespace bitloom::cli
