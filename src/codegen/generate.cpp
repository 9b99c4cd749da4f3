#include "generate.h"

#include "codegen/declaration.h"
#include "codegen/encoder.h"
#include "model/storerecall.h"

namespace bitloom {

namespace {

// Appends the empty declaration when the text has none for this name.
void ensureDeclaration(CodePane& pane, const std::string& name, Plane plane)
{
    if (findDeclaration(pane.text(), name, plane) == kNotFound)
        pane.setText(pane.text() + emptyDeclaration(name, plane));
}

// Replaces what stands between the declaration's braces with `plane`
// (without its final comma). A declaration whose line has no closing brace
// is left alone rather than letting the splice swallow the lines after it.
bool spliceInitializer(CodePane& pane, Module1& module, const std::string& name, Plane plane,
                       const std::string& planeString)
{
    const std::string& text = pane.text();
    const auto f = findDeclaration(text, name, plane);
    if (f == kNotFound)
        return false;
    const auto p = static_cast<std::size_t>(f) + declarationOpening(name, plane).size();
    const auto q = text.find('}', p);
    if (q == std::string::npos || text.find('\n', p) < q)
        return false;

    module.textHead = text.substr(0, p);
    module.textTail = text.substr(q);
    std::string spliced;
    spliced.reserve(text.size() + planeString.size());
    spliced.append(module.textHead)
        .append(planeString, 0, planeString.size() - 1)
        .append(module.textTail);
    pane.setText(spliced);
    return true;
}

} // namespace

GenerateResult generate(const Grid& grid, const Palette& palette, Module1& module, NameBox& names,
                        CodePane& pane)
{
    const auto [lightString, darkString] = encodePlanes(grid, palette);
    const std::string name = names.text();

    if (findDeclaration(pane.text(), name, Plane::Light) == kNotFound) {
        // A new sprite. Refuse it whole when no entry is free, so that no
        // stored sprite is overwritten and the text gains no orphan lines.
        const auto slot = findFreeSlot(module.spriteTable);
        if (!slot)
            return GenerateResult::TableFull;
        names.addItem(name);
        module.spriteTable[static_cast<std::size_t>(*slot)].name = name;
        pane.setText(pane.text() + emptyDeclaration(name, Plane::Light));
    }

    GenerateResult result = GenerateResult::Updated;
    if (!spliceInitializer(pane, module, name, Plane::Light, lightString)) {
        result = GenerateResult::MalformedDeclaration;
    } else {
        ensureDeclaration(pane, name, Plane::Dark);
        if (!spliceInitializer(pane, module, name, Plane::Dark, darkString))
            result = GenerateResult::MalformedDeclaration;
    }

    // The drawing is stored even when the text could not take it, so that
    // nothing the user drew is lost.
    storeDrawing(grid, palette, names, module.spriteTable);
    return result;
}

} // namespace bitloom
