#include "updater.h"

#include "codegen/encoder.h"
#include "codegen/grammar.h"

#include <algorithm>

namespace bitloom {

bool declaresSprite(std::string_view text, std::string_view name)
{
    // An unreadable light declaration still claims the name: a second one
    // must not be added beside it.
    return grammar::findDeclaration(text, name, Plane::Light).has_value();
}

CodeUpdate updateDeclarations(std::string_view text, std::string_view name, const Grid& grid)
{
    const PlaneBytes light = encodePlane(grid, Plane::Light);
    const PlaneBytes dark = encodePlane(grid, Plane::Dark);
    CodeUpdate update;
    const auto [lightDeclaration, darkDeclaration] = grammar::findSprite(text, name);

    // Light first, then dark; an unreadable declaration is never written and
    // stops the update there.
    if (!lightDeclaration) {
        // A byte array that is no sprite plane but already bears either
        // identifier (a "backlight" table, a plane whose body is not 8
        // numbers) would be declared twice, and the text would no longer
        // compile: the new sprite is refused whole.
        const std::string written(grammar::spriteName(name));
        for (const grammar::ByteArray& array : grammar::scanByteArrays(text)) {
            const bool itsDarkPlane = darkDeclaration && darkDeclaration->start == array.start;
            if (array.name == written + "light" || (array.name == written + "dark" && !itsDarkPlane)) {
                update.outcome = CodeUpdate::Outcome::MalformedDeclaration;
                return update;
            }
        }
        // A new sprite: its light line, then its dark one right after it,
        // each found in the text the previous edit left.
        std::string added;
        const auto addLight = [&](const TextEdit& edit) {
            added.assign(text);
            applyEdit(added, edit);
            return grammar::findSprite(added, name);
        };
        TextEdit lightAdded = grammar::newDeclaration(text, name, Plane::Light, light);
        auto found = addLight(lightAdded);
        if (!found.light || !found.light->readable) {
            // The line it followed leads into a comment that swallows it:
            // the text's end in the program's own shape is tried instead.
            lightAdded = grammar::newDeclaration({}, name, Plane::Light, light);
            lightAdded.position = text.size();
            lightAdded.inserted.replace(0, 1, grammar::textLineEnd(text));
            found = addLight(lightAdded);
        }
        if (!found.light || !found.light->readable) {
            // Nowhere it would be read back: no line is added at all.
            update.outcome = CodeUpdate::Outcome::MalformedDeclaration;
            return update;
        }
        update.edits.push_back(std::move(lightAdded));
        if (!found.dark)
            update.edits.push_back(grammar::newDeclaration(added, name, Plane::Dark, dark));
        else if (found.dark->readable)
            update.edits.push_back(grammar::rewriteNumbers(added, *found.dark, dark));
        else
            update.outcome = CodeUpdate::Outcome::MalformedDeclaration;
        return update;
    }
    if (!lightDeclaration->readable) {
        update.outcome = CodeUpdate::Outcome::MalformedDeclaration;
        return update;
    }

    // Both edits are made for `text` and returned from its end towards its
    // start, so that each stays valid for the next.
    update.edits.push_back(grammar::rewriteNumbers(text, *lightDeclaration, light));
    if (!darkDeclaration)
        update.edits.push_back(grammar::newDeclaration(text, name, Plane::Dark, dark));
    else if (darkDeclaration->readable)
        update.edits.push_back(grammar::rewriteNumbers(text, *darkDeclaration, dark));
    else
        update.outcome = CodeUpdate::Outcome::MalformedDeclaration;
    std::stable_sort(update.edits.begin(), update.edits.end(),
                     [](const TextEdit& a, const TextEdit& b) { return a.position > b.position; });
    return update;
}

std::vector<TextEdit> removeDeclarations(std::string_view text, std::string_view name)
{
    // Only readable declarations go: the lines an unreadable one spans are
    // unknown, and guessing could take foreign lines with it.
    const auto light = grammar::findDeclaration(text, name, Plane::Light);
    if (!light || !light->readable)
        return {};
    std::vector<TextEdit> edits{grammar::removeDeclaration(text, *light)};
    // The dark declaration is looked for in what the first removal leaves:
    // when the light one began the text, the dark one may now begin it.
    std::string rest(text);
    applyEdit(rest, edits.front());
    if (const auto dark = grammar::findDeclaration(rest, name, Plane::Dark); dark && dark->readable)
        edits.push_back(grammar::removeDeclaration(rest, *dark));
    return edits;
}

} // namespace bitloom
