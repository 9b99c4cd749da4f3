#pragma once

#include "codegen/arraywriter.h"
#include "codegen/layoutdetect.h"

#include <string>
#include <string_view>
#include <variant>
#include <vector>

// The drawings a header holds for `convert`: its pair sprites, then the tiles
// of its tile arrays, and the choice among them.
namespace bitloom {

// The pair sprites as the window registers them, in order of appearance,
// then the tiles of every tile array in file order ("NAME[i]"). An array's
// layout is what the options choose for it, else what the file says or its
// shape suggests. A tile whose bytes stand alone on a line that ends in a
// "// " comment takes that comment as its label.
std::vector<SourceDrawing> headerDrawings(std::string_view text,
                                          const std::vector<LayoutOption>& options = {});

// The drawings `picks` name, in the order of `picks`: a sprite or tile by
// its name, or an array by its name for all its tiles. No picks: all of
// them. A pick that names nothing gives that pick, for the message.
struct UnknownPick {
    std::string name;
};
std::variant<std::vector<SourceDrawing>, UnknownPick> pickDrawings(const std::vector<SourceDrawing>& all,
                                                                   const std::vector<std::string>& picks);

} // namespace bitloom
