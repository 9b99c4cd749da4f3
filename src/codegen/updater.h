#pragma once

#include "codegen/textedit.h"
#include "model/grid.h"

#include <string_view>
#include <vector>

namespace bitloom {

// What writing a drawing into its sprite's declarations changes in a code
// text. The updater only says what it would change; the document applies
// the edits, registers new names and stores the drawing.
struct CodeUpdate {
    enum class Outcome {
        Updated,              // both declarations hold the drawing
        MalformedDeclaration, // a declaration's body is not 8 readable
                              // numbers: the edits stop before it
    };
    Outcome outcome = Outcome::Updated;
    // Applied in order, each to the text the previous ones left.
    std::vector<TextEdit> edits;
};

// Whether the text holds the light declaration of `name`, which is what
// makes a name a sprite of the text.
bool declaresSprite(std::string_view text, std::string_view name);

// The edits that write the grid's planes into the declarations of `name`,
// adding a declaration that is missing.
CodeUpdate updateDeclarations(std::string_view text, std::string_view name, const Grid& grid);

// The edits that remove both declarations of `name`, all the lines each
// spans with one line end, applied in order; none when the text holds no
// readable light declaration of it. An unreadable dark declaration stays.
std::vector<TextEdit> removeDeclarations(std::string_view text, std::string_view name);

} // namespace bitloom
