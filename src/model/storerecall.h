#pragma once

#include "colour.h"
#include "grid.h"
#include "namebox.h"
#include "spritetable.h"

namespace bitloom {

// Store: copies the palette code of every cell into the entry named by the
// name box. Cells of no palette colour keep the code they had. A name
// without an entry leaves the table unchanged.
void storeDrawing(const Grid& grid, const Palette& palette, const NameBox& names, SpriteTable& table);

// Recall on typing: whitens the grid, then shows the entry of the typed
// name if it has one.
void recallTyped(Grid& grid, const Palette& palette, const NameBox& names, const SpriteTable& table);

// Recall on choosing a list item: shows the chosen name's entry, or entry 0
// when the name has none. The grid is not cleared first.
void recallChosen(Grid& grid, const Palette& palette, const NameBox& names, const SpriteTable& table);

} // namespace bitloom
