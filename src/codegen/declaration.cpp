#include "declaration.h"

namespace bitloom {

namespace {

constexpr std::string_view kType = "static unsigned char ";
constexpr std::string_view kLightHead = "light[]={";
constexpr std::string_view kDarkHead = "dark[]={";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool startsLine(std::string_view text, std::size_t at)
{
    return at == firstLineStart(text) || (at > 0 && text[at - 1] == '\n');
}

// Whether a declaration head stands anywhere in `rest`.
bool holdsHead(std::string_view rest)
{
    return rest.find(kLightHead) != std::string_view::npos || rest.find(kDarkHead) != std::string_view::npos;
}

} // namespace

std::string_view declarationType()
{
    return kType;
}

std::string_view declarationHead(Plane plane)
{
    return plane == Plane::Light ? kLightHead : kDarkHead;
}

std::string declarationOpening(std::string_view name, Plane plane)
{
    std::string opening;
    opening.reserve(kType.size() + name.size() + kLightHead.size());
    opening.append(kType).append(name).append(declarationHead(plane));
    return opening;
}

std::string emptyDeclaration(std::string_view name, Plane plane)
{
    return '\n' + declarationOpening(name, plane) + "};";
}

std::size_t firstLineStart(std::string_view text)
{
    return text.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
}

// The opening alone can also match the start of another sprite's line whose
// name begins with this name and a declaration head: for "A", the line of
// "Alight[]={x" reads "...Alight[]={xlight[]={...". Bytes never contain a
// head, so on a sprite's own line no further head follows its opening
// brace; a match that is followed by one belongs to a longer name.
std::ptrdiff_t findDeclaration(std::string_view text, std::string_view name, Plane plane)
{
    const std::string opening = declarationOpening(name, plane);
    for (auto at = text.find(opening); at != std::string_view::npos; at = text.find(opening, at + 1)) {
        if (!startsLine(text, at))
            continue;
        const std::size_t body = at + opening.size();
        const std::size_t lineEnd = std::min(text.find('\n', body), text.size());
        if (!holdsHead(text.substr(body, lineEnd - body)))
            return static_cast<std::ptrdiff_t>(at);
    }
    return kNotFound;
}

std::optional<DeclarationLine> parseDeclarationLine(std::string_view line)
{
    if (!line.starts_with(kType))
        return std::nullopt;
    const std::size_t light = line.rfind(kLightHead);
    const std::size_t dark = line.rfind(kDarkHead);
    std::size_t head = 0;
    Plane plane = Plane::Light;
    if (light != std::string_view::npos && (dark == std::string_view::npos || light > dark)) {
        head = light;
    } else if (dark != std::string_view::npos) {
        head = dark;
        plane = Plane::Dark;
    } else {
        return std::nullopt;
    }
    // The head must follow the type, not overlap it.
    if (head < kType.size())
        return std::nullopt;
    DeclarationLine parsed{plane, line.substr(kType.size(), head - kType.size()),
                           head + declarationHead(plane).size(), std::nullopt};
    if (const auto close = line.find('}', parsed.bodyStart); close != std::string_view::npos)
        parsed.bodyEnd = close;
    return parsed;
}

} // namespace bitloom
