#include "diagnostics.h"

#include "codegen/reader.h"
#include "model/spritetable.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace bitloom {

std::vector<DeclarationSite> scanDeclarations(std::string_view text)
{
    std::vector<DeclarationSite> sites;
    int number = 1;
    for (std::size_t start = firstLineStart(text); start <= text.size(); ++number) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = text.substr(start, end - start);
        if (const auto parsed = parseDeclarationLine(line))
            sites.push_back(
                {parsed->plane, parsed->name, number, number, declarationReadable(line, *parsed)});
        start = end + 1;
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
    int sprites = 0; // distinct light names so far: the sprites Open registers
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
            if (++sprites > kSpriteTableSize)
                found.push_back({DiagnosticKind::BeyondTable, site.firstLine, name, site.plane, 0, {}});
            if (!firstDark.count(site.name))
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
