#include "headersprites.h"

#include "codegen/reader.h"

#include <algorithm>

namespace bitloom {

std::vector<SourceDrawing> headerDrawings(std::string_view text, const std::vector<LayoutOption>& options)
{
    (void)options;
    std::vector<SourceDrawing> drawings;
    for (DeclaredSprite& sprite : readDeclarations(text))
        drawings.push_back({std::move(sprite.name), sprite.shades, {}});
    return drawings;
}

std::variant<std::vector<SourceDrawing>, UnknownPick> pickDrawings(const std::vector<SourceDrawing>& all,
                                                                   const std::vector<std::string>& picks)
{
    if (picks.empty())
        return all;
    std::vector<SourceDrawing> picked;
    for (const std::string& pick : picks) {
        // A name declared twice is its first declaration, as the window has it.
        const auto found =
            std::find_if(all.begin(), all.end(), [&](const SourceDrawing& d) { return d.name == pick; });
        if (found != all.end()) {
            picked.push_back(*found);
            continue;
        }
        bool array = false;
        for (const SourceDrawing& drawing : all) {
            if (const auto tile = parseArrayTileName(drawing.name); tile && tile->array == pick) {
                picked.push_back(drawing);
                array = true;
            }
        }
        if (!array)
            return UnknownPick{pick};
    }
    return picked;
}

} // namespace bitloom
