#pragma once

#include "model/grid.h"
#include "model/spritetable.h"

#include <string_view>

namespace bitloom {

// Store: copies the shade of every cell into the entry of `name`. Unpainted
// cells keep the shade they had. A name without an entry leaves the table
// unchanged.
void storeDrawing(const Grid& grid, std::string_view name, SpriteTable& table);
// The same into the shades of one entry.
void storeDrawing(const Grid& grid, Shades& shades);

// Recall on typing: whitens the grid, then shows the entry of the typed
// name if it has one.
void recallTyped(Grid& grid, std::string_view name, const SpriteTable& table);

// Recall on choosing a list item: shows the chosen name's entry, or entry 0
// when the name has none. The grid is not cleared first.
void recallChosen(Grid& grid, std::string_view name, const SpriteTable& table);

} // namespace bitloom
