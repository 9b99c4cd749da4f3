#include "declaration.h"

namespace bitloom {

namespace {
constexpr std::string_view kType = "static unsigned char ";

// Whether `head` occurs between `from` and the end of that line.
bool headOnLine(const CodePane& pane, std::string_view head, std::size_t from, std::ptrdiff_t lineEnd)
{
    const auto at = pane.find(head, from);
    return at != CodePane::npos && (lineEnd == CodePane::npos || at < lineEnd);
}
} // namespace

std::string_view declarationHead(Plane plane)
{
    return plane == Plane::Light ? "light[]={" : "dark[]={";
}

std::string declarationOpening(std::string_view name, Plane plane)
{
    std::string opening;
    opening.reserve(kType.size() + name.size() + 9);
    opening.append(kType).append(name).append(declarationHead(plane));
    return opening;
}

std::string declarationKey(std::string_view name, Plane plane)
{
    return '\n' + declarationOpening(name, plane);
}

std::string emptyDeclaration(std::string_view name, Plane plane)
{
    return declarationKey(name, plane) + "};";
}

// Index of the line feed that starts the name's declaration, or npos.
// The key alone can also match the start of another sprite's line whose
// name begins with this name and a declaration head: for "A", the line of
// "Alight[]={x" reads "...Alight[]={xlight[]={...". Bytes never contain a
// head, so on a sprite's own line no further head follows its opening
// brace; a match that is followed by one belongs to a longer name.
std::ptrdiff_t findDeclaration(const CodePane& pane, std::string_view name, Plane plane)
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

} // namespace bitloom
