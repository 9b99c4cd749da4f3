#include "storerecall.h"

namespace bitloom {

void storeDrawing(const Grid& grid, std::string_view name, SpriteTable& table)
{
    const auto target = findEntry(table, name);
    if (!target)
        return; // no entry of its own: never write into someone else's
    storeDrawing(grid, table[static_cast<std::size_t>(*target)].shades);
}

void storeDrawing(const Grid& grid, Shades& shades)
{
    for (std::size_t k = 0; k < grid.size(); ++k) {
        if (isShade(grid[k]))
            shades[k] = grid[k];
    }
}

void recallTyped(Grid& grid, std::string_view name, const SpriteTable& table)
{
    grid.fill(Cell::White);
    if (const auto source = findEntry(table, name))
        grid = table[static_cast<std::size_t>(*source)].shades;
}

void recallChosen(Grid& grid, std::string_view name, const SpriteTable& table)
{
    const int source = findEntry(table, name).value_or(0);
    grid = table[static_cast<std::size_t>(source)].shades;
}

} // namespace bitloom
