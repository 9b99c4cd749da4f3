#include "renamer.h"

#include "codegen/grammar.h"

#include <algorithm>
#include <string>

namespace bitloom {

std::vector<TextEdit> renameSprite(std::string_view text, std::string_view name, std::string_view newName)
{
    const auto light = grammar::findDeclaration(text, name, Plane::Light);
    if (!light)
        return {};
    std::vector<TextEdit> edits{grammar::renameDeclaration(*light, newName)};
    if (const auto dark = grammar::findDeclaration(text, name, Plane::Dark))
        edits.push_back(grammar::renameDeclaration(*dark, newName));
    // The later edit first, so that the earlier one's position still holds.
    std::sort(edits.begin(), edits.end(),
              [](const TextEdit& a, const TextEdit& b) { return a.position > b.position; });

    std::string renamed(text);
    for (const TextEdit& edit : edits)
        applyEdit(renamed, edit);
    const auto readBack = grammar::findDeclaration(renamed, newName, Plane::Light);
    if (!readBack || readBack->identifierStart != light->identifierStart)
        return {};
    return edits;
}

} // namespace bitloom
