#include "updater.h"

#include "codegen/declaration.h"
#include "codegen/encoder.h"

#include <algorithm>
#include <optional>

namespace bitloom {

namespace {

// The bytes between a declaration's braces: the plane string without its
// final comma.
std::string_view initializer(const std::string& planeString)
{
    return std::string_view(planeString).substr(0, planeString.size() - 1);
}

// The edit that puts `planeString` between the braces of the declaration
// found at `at`. A declaration whose line has no closing brace is left alone
// rather than letting the edit swallow the lines after it.
std::optional<TextEdit> spliceInitializer(std::string_view text, std::ptrdiff_t at, std::string_view name,
                                          Plane plane, const std::string& planeString)
{
    const auto body = static_cast<std::size_t>(at) + declarationOpening(name, plane).size();
    const auto close = text.find('}', body);
    if (close == std::string_view::npos || text.find('\n', body) < close)
        return std::nullopt;
    return TextEdit{body, close - body, std::string(initializer(planeString))};
}

// A whole declaration line, line feed first, as appended at the end.
std::string newDeclaration(std::string_view name, Plane plane, const std::string& planeString)
{
    std::string line = emptyDeclaration(name, plane);
    line.insert(line.size() - 2, initializer(planeString));
    return line;
}

} // namespace

bool declaresSprite(std::string_view text, std::string_view name)
{
    return findDeclaration(text, name, Plane::Light) != kNotFound;
}

CodeUpdate updateDeclarations(std::string_view text, std::string_view name, const Grid& grid,
                              const Palette& palette)
{
    const auto [lightString, darkString] = encodePlanes(grid, palette);
    const std::ptrdiff_t light = findDeclaration(text, name, Plane::Light);
    const std::ptrdiff_t dark = findDeclaration(text, name, Plane::Dark);

    // Light first, then dark; a declaration that cannot be rewritten stops
    // the update there. Missing declarations are appended whole. All
    // positions are in `text`; the edits are returned from the end of the
    // text towards its start, so that each stays valid for the next.
    CodeUpdate update;
    std::string appended;
    std::optional<TextEdit> lightSplice, darkSplice;
    if (light == kNotFound) {
        appended += newDeclaration(name, Plane::Light, lightString);
    } else if (!(lightSplice = spliceInitializer(text, light, name, Plane::Light, lightString))) {
        update.outcome = CodeUpdate::Outcome::MalformedDeclaration;
        return update;
    }
    if (dark == kNotFound)
        appended += newDeclaration(name, Plane::Dark, darkString);
    else if (!(darkSplice = spliceInitializer(text, dark, name, Plane::Dark, darkString)))
        update.outcome = CodeUpdate::Outcome::MalformedDeclaration;

    if (!appended.empty())
        update.edits.push_back({text.size(), 0, std::move(appended)});
    for (auto* splice : {&lightSplice, &darkSplice}) {
        if (*splice)
            update.edits.push_back(std::move(**splice));
    }
    std::stable_sort(update.edits.begin(), update.edits.end(),
                     [](const TextEdit& a, const TextEdit& b) { return a.position > b.position; });
    return update;
}

std::vector<TextEdit> removeDeclarations(std::string_view text, std::string_view name)
{
    // Each line goes with one line feed: the one before it, or for the
    // text's first line the one after it. A byte-order mark before the
    // first line stays.
    const auto lineRemoval = [](std::string_view in, std::ptrdiff_t at) {
        auto start = static_cast<std::size_t>(at);
        std::size_t end = std::min(in.find('\n', start), in.size());
        if (start > firstLineStart(in))
            --start;
        else if (end < in.size())
            ++end;
        return TextEdit{start, end - start, {}};
    };
    const std::ptrdiff_t light = findDeclaration(text, name, Plane::Light);
    if (light == kNotFound)
        return {};
    std::vector<TextEdit> edits{lineRemoval(text, light)};
    // The dark line is looked for in what the first removal leaves: when
    // the light line was the text's first, the dark one may now be.
    std::string rest(text);
    applyEdit(rest, edits.front());
    if (const std::ptrdiff_t dark = findDeclaration(rest, name, Plane::Dark); dark != kNotFound)
        edits.push_back(lineRemoval(rest, dark));
    return edits;
}

} // namespace bitloom
