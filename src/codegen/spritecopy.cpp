#include "spritecopy.h"

#include "codegen/grammar.h"
#include "codegen/updater.h"

#include <vector>

namespace bitloom {

namespace {

std::string wholeLines(std::string_view text, const grammar::Declaration& declaration)
{
    std::string lines(text.substr(declaration.lineStart, declaration.lineEnd - declaration.lineStart));
    if (!lines.empty() && lines.back() == '\r')
        lines.pop_back();
    return lines + '\n';
}

} // namespace

std::optional<std::string> declarationsText(std::string_view text, std::string_view name)
{
    const auto light = grammar::findDeclaration(text, name, Plane::Light);
    const auto dark = grammar::findDeclaration(text, name, Plane::Dark);
    if (!light || !dark || !light->readable || !dark->readable)
        return std::nullopt;
    return wholeLines(text, *light) + wholeLines(text, *dark);
}

std::string generatedDeclarations(std::string_view name, const Grid& grid)
{
    std::string text;
    for (const TextEdit& edit : updateDeclarations(text, name, grid).edits)
        applyEdit(text, edit);
    // The program's own shape starts each declaration on a line of its own.
    const std::size_t first = text.find_first_not_of('\n');
    text.erase(0, first == std::string::npos ? text.size() : first);
    if (!text.empty() && text.back() != '\n')
        text += '\n';
    return text;
}

std::optional<Shades> firstDeclaredDrawing(std::string_view text)
{
    const std::vector<grammar::Declaration> declarations = grammar::scanDeclarations(text);
    for (std::size_t i = 0; i < declarations.size(); ++i) {
        const grammar::Declaration& first = declarations[i];
        if (!first.readable)
            continue;
        for (std::size_t j = i + 1; j < declarations.size(); ++j) {
            const grammar::Declaration& second = declarations[j];
            if (!second.readable || second.plane == first.plane || second.name != first.name)
                continue;
            const auto light = (first.plane == Plane::Light ? first : second).bytes();
            const auto dark = (first.plane == Plane::Dark ? first : second).bytes();
            Shades shades{};
            // Bit m of row r is the cell r * 8 + m, m counted from the right.
            for (int cell = 0; cell < kCellCount; ++cell) {
                const auto row = std::size_t(rowOf(cell));
                const int bit = columnFromRight(cell);
                shades[std::size_t(cell)] = shadeOfBits((light[row] >> bit) & 1, (dark[row] >> bit) & 1);
            }
            return shades;
        }
    }
    return std::nullopt;
}

} // namespace bitloom
