#pragma once

#include "codegen/codepane.h"
#include "model/colour.h"
#include "model/grid.h"
#include "model/module1.h"
#include "model/namebox.h"

namespace bitloom {

enum class GenerateResult {
    Updated,              // both declarations hold the grid; the grid is stored
    TableFull,            // a new name found no free entry: nothing changed at all
    MalformedDeclaration, // a declaration has no closing brace on its line:
                          // that splice left the text as it was
};

// Rewrites the current sprite's two declarations in the code text from the
// grid, registering the name first when its light declaration is missing,
// then stores the grid under the name. Each change of the text is one
// whole-text write: four for a new sprite, two for a known one (three when
// its dark declaration was missing), none when refused.
GenerateResult generate(const Grid& grid, const Palette& palette, Module1& module, NameBox& names,
                        CodePane& pane);

} // namespace bitloom
