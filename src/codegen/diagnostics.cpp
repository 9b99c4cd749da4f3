#include "diagnostics.h"

#include "codegen/grammar.h"
#include "model/spritetable.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace bitloom {

std::vector<DeclarationSite> scanDeclarations(std::string_view text)
{
    const std::vector<grammar::Declaration> declarations = grammar::scanDeclarations(text);
    std::vector<DeclarationSite> sites;
    sites.reserve(declarations.size());
    // Line numbers of the last lines, counted on from the previous one.
    std::size_t counted = 0;
    int line = 1;
    for (const grammar::Declaration& declaration : declarations) {
        const auto lineOf = [&](std::size_t at) {
            line += static_cast<int>(std::count(text.begin() + static_cast<std::ptrdiff_t>(counted),
                                                text.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
            counted = at;
            return line;
        };
        lineOf(declaration.lineStart);
        const int lastLine = lineOf(declaration.lineEnd);
        sites.push_back(
            {declaration.plane, declaration.name, declaration.line, lastLine, declaration.readable});
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
    case DiagnosticKind::NotIdentifier: break;
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
            found.push_back({DiagnosticKind::UnreadableDeclaration, site.firstLine, name, site.plane, 0, {}});
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
    std::stable_sort(found.begin(), found.end(),
                     [](const Diagnostic& a, const Diagnostic& b) { return a.line < b.line; });
    return found;
}

} // namespace bitloom
