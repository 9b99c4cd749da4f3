#include "storerecall.h"

namespace bitloom {

namespace {

void showEntry(Grid& grid, const Palette& palette, const SpriteEntry& entry)
{
    for (int k = 0; k < kCellCount; ++k) {
        const auto shade = entry.shades[static_cast<std::size_t>(k)];
        grid[static_cast<std::size_t>(k)] = palette[static_cast<std::size_t>(shade)];
    }
}

} // namespace

void storeDrawing(const Grid& grid, const Palette& palette, std::string_view name, SpriteTable& table)
{
    const auto target = findEntry(table, name);
    if (!target)
        return; // no entry of its own: never write into someone else's
    storeDrawing(grid, palette, table[static_cast<std::size_t>(*target)].shades);
}

void storeDrawing(const Grid& grid, const Palette& palette, Shades& shades)
{
    for (int k = 0; k < kCellCount; ++k) {
        if (const auto shade = shadeOf(palette, grid[static_cast<std::size_t>(k)]))
            shades[static_cast<std::size_t>(k)] = *shade;
    }
}

void recallTyped(Grid& grid, const Palette& palette, std::string_view name, const SpriteTable& table)
{
    grid.fill(palette[0]);
    if (const auto source = findEntry(table, name))
        showEntry(grid, palette, table[static_cast<std::size_t>(*source)]);
}

void recallChosen(Grid& grid, const Palette& palette, std::string_view name, const SpriteTable& table)
{
    const int source = findEntry(table, name).value_or(0);
    showEntry(grid, palette, table[static_cast<std::size_t>(source)]);
}

} // namespace bitloom
