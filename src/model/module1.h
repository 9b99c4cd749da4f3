#pragma once

#include "colour.h"
#include "spritetable.h"

#include <string>

namespace bitloom {

// The selected tool: nothing chosen yet, the pen, or the brush.
enum class Tool : Code { None = 0, Pen = 1, Brush = 2 };

// Program-wide state of one run, all zero or empty at start.
struct Module1 {
    Code selColor = 0;          // palette code that painting uses
    Tool selTool = Tool::None;  // only the brush has an effect of its own
    std::string textHead;       // code text up to a declaration's "{"
    std::string textTail;       // code text from that declaration's "}" on
    SpriteTable spriteTable;
};

} // namespace bitloom
