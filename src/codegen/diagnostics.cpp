#include "diagnostics.h"

#include "codegen/grammar.h"
#include "model/spritetable.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace bitloom {

std::vector<DeclarationSite> scanDeclarations(std::string_view text)
{
    const std::vector<grammar::ByteArray> arrays = grammar::scanByteArrays(text);
    const std::vector<grammar::Declaration> declarations = grammar::pairDeclarations(text, arrays);
    std::vector<DeclarationSite> sites;
    sites.reserve(declarations.size());
    // Declarations come in the order of their arrays: each one's last line
    // is that of its array.
    std::size_t array = 0;
    for (const grammar::Declaration& declaration : declarations) {
        while (arrays[array].identifierStart != declaration.identifierStart)
            ++array;
        const int lastLine =
            declaration.readable ? arrays[array].lastLine : grammar::lineNumberAt(text, declaration.lineEnd);
        sites.push_back({declaration.plane, declaration.name, declaration.line, lastLine,
                         declaration.readable, declaration.problem});
    }
    return sites;
}

Severity severityOf(DiagnosticKind kind)
{
    switch (kind) {
    case DiagnosticKind::UnreadableDeclaration:
    case DiagnosticKind::DeclaredTwice:
    case DiagnosticKind::BeyondTable: return Severity::Error;
    case DiagnosticKind::MissingDark:
    case DiagnosticKind::MissingLight:
    case DiagnosticKind::NotIdentifier:
    case DiagnosticKind::NotPlane: break;
    }
    return Severity::Warning;
}

std::vector<Diagnostic> diagnose(std::string_view text)
{
    const std::vector<DeclarationSite> sites = scanDeclarations(text);

    // The first declaration of each name and plane is the one Open reads.
    std::unordered_map<std::string_view, const DeclarationSite*> firstLight, firstDark;
    for (const DeclarationSite& site : sites)
        (site.plane == Plane::Light ? firstLight : firstDark).emplace(site.name, &site);

    std::vector<Diagnostic> found;
    std::unordered_set<std::string_view> namesChecked;
    int sprites = 0; // distinct readable light names so far: the sprites Open registers
    for (const DeclarationSite& site : sites) {
        const auto& firsts = site.plane == Plane::Light ? firstLight : firstDark;
        const DeclarationSite* first = firsts.at(site.name);
        const std::string name(site.name);
        if (!site.readable)
            found.push_back({DiagnosticKind::UnreadableDeclaration,
                             site.firstLine,
                             name,
                             site.plane,
                             0,
                             {},
                             site.problem});
        if (first != &site) {
            found.push_back(
                {DiagnosticKind::DeclaredTwice, site.firstLine, name, site.plane, first->firstLine, {}});
            continue;
        }
        if (site.plane == Plane::Light) {
            // An unreadable light declaration opens no sprite: it neither
            // counts against the table nor needs a dark one.
            if (site.readable && ++sprites > kSpriteTableSize)
                found.push_back({DiagnosticKind::BeyondTable, site.firstLine, name, site.plane, 0, {}});
            if (site.readable && !firstDark.count(site.name))
                found.push_back({DiagnosticKind::MissingDark, site.lastLine, name, site.plane, 0, {}});
        } else if (!firstLight.count(site.name)) {
            found.push_back({DiagnosticKind::MissingLight, site.firstLine, name, site.plane, 0, {}});
        }
        // A name is checked once, where it first appears.
        if (namesChecked.insert(site.name).second) {
            if (IdentifierCheck check = checkIdentifier(site.name); check.problem != IdentifierProblem::None)
                found.push_back(
                    {DiagnosticKind::NotIdentifier, site.firstLine, name, site.plane, 0, std::move(check)});
        }
    }
    // Arrays named like a plane whose bodies are no plane's: most likely a
    // table that only ends in "light" or "dark" ("backlight").
    for (const grammar::ByteArray& array : grammar::scanByteArrays(text)) {
        const bool light = array.name.ends_with("light");
        if (!(light || array.name.ends_with("dark")) || !array.delimited || array.bounds.size() != 1
            || array.elementCount == grammar::kRowCount)
            continue;
        const std::string_view name = array.name.substr(0, array.name.size() - (light ? 5 : 4));
        const Plane plane = light ? Plane::Light : Plane::Dark;
        if ((plane == Plane::Light ? firstLight : firstDark).count(name))
            continue;
        found.push_back({DiagnosticKind::NotPlane,
                         array.line,
                         std::string(name),
                         plane,
                         0,
                         {},
                         std::to_string(array.elementCount)
                             + (array.elementCount == 1 ? " number" : " numbers")
                             + "; a sprite plane has 8"});
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const Diagnostic& a, const Diagnostic& b) { return a.line < b.line; });
    return found;
}

} // namespace bitloom
