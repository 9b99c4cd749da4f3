#include "declaration.h"

namespace bitloom {

namespace {
constexpr std::string_view kType = "static unsigned char ";
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

} // namespace bitloom
