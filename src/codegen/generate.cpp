#include "generate.h"

#include "codegen/declaration.h"
#include "codegen/encoder.h"
#include "model/storerecall.h"

namespace bitloom {

namespace {

// Whether `head` occurs between `from` and the end of that line.
bool headOnLine(const CodePane& pane, std::string_view head, std::size_t from, std::ptrdiff_t lineEnd)
{
    const auto at = pane.find(head, from);
    return at != CodePane::npos && (lineEnd == CodePane::npos || at < lineEnd);
}

// Index of the line feed that starts the name's declaration, or npos.
// The key alone can also match the start of another sprite's line whose
// name begins with this name and a declaration head: for "A", the line of
// "Alight[]={x" reads "...Alight[]={xlight[]={...". Bytes never contain a
// head, so on a sprite's own line no further head follows its opening
// brace; a match that is followed by one belongs to a longer name.
std::ptrdiff_t findDeclaration(const CodePane& pane, const std::string& name, Plane plane)
{
    const std::string key = declarationKey(name, plane);
    for (auto f = pane.find(key); f != CodePane::npos; f = pane.find(key, static_cast<std::size_t>(f) + 1)) {
        const auto p = static_cast<std::size_t>(f) + key.size();
        const auto lineEnd = pane.find("\n", p);
        if (!headOnLine(pane, declarationHead(Plane::Light), p, lineEnd)
            && !headOnLine(pane, declarationHead(Plane::Dark), p, lineEnd))
            return f;
    }
    return CodePane::npos;
}

// Appends the empty declaration when the text has none for this name.
// Returns whether it had to append.
bool ensureDeclaration(CodePane& pane, const std::string& name, Plane plane)
{
    if (findDeclaration(pane, name, plane) != CodePane::npos)
        return false;
    pane.setText(pane.text() + emptyDeclaration(name, plane));
    return true;
}

// Replaces what stands between the declaration's braces with `plane`
// (without its final comma). A declaration whose line has no closing brace
// is left alone rather than letting the splice swallow the lines after it.
bool spliceInitializer(CodePane& pane, Module1& module, const std::string& name, Plane plane,
                       const std::string& planeString)
{
    const std::string key = declarationKey(name, plane);
    const std::string text = pane.text();
    const auto f = findDeclaration(pane, name, plane);
    if (f == CodePane::npos)
        return false;
    const auto p = static_cast<std::size_t>(f) + key.size();
    const auto q = pane.find("}", p);
    if (q == CodePane::npos || text.find('\n', p) < static_cast<std::size_t>(q))
        return false;

    module.textHead = text.substr(0, p);
    module.textTail = text.substr(static_cast<std::size_t>(q));
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

    if (findDeclaration(pane, name, Plane::Light) == CodePane::npos) {
        // A new sprite. Refuse it whole when no entry is free, so that no
        // stored sprite is overwritten and the text gains no orphan lines.
        const auto slot = findFreeSlot(module.spriteTable);
        if (!slot)
            return GenerateResult::TableFull;
        names.addItem(name);
        module.spriteTable[static_cast<std::size_t>(*slot)].name = name;
        ensureDeclaration(pane, name, Plane::Light);
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
    Kaydet(grid, palette, names, module.spriteTable);
    return result;
}

} // namespace bitloom
