#include "storerecall.h"

namespace bitloom {

namespace {

void showEntry(Grid& grid, const Palette& palette, const SpriteEntry& entry)
{
    for (int k = 0; k < kCellCount; ++k) {
        const auto code = entry.codes[static_cast<std::size_t>(k)];
        grid[static_cast<std::size_t>(k)] = palette[static_cast<std::size_t>(code)];
    }
}

} // namespace

void storeDrawing(const Grid& grid, const Palette& palette, const NameBox& names, SpriteTable& table)
{
    const auto target = findEntry(table, names.text());
    if (!target)
        return; // no entry of its own: never write into someone else's
    auto& codes = table[static_cast<std::size_t>(*target)].codes;
    for (int k = 0; k < kCellCount; ++k) {
        if (const auto code = codeOf(palette, grid[static_cast<std::size_t>(k)]))
            codes[static_cast<std::size_t>(k)] = *code;
    }
}

void recallTyped(Grid& grid, const Palette& palette, const NameBox& names, const SpriteTable& table)
{
    grid.fill(palette[0]);
    if (const auto source = findEntry(table, names.text()))
        showEntry(grid, palette, table[static_cast<std::size_t>(*source)]);
}

void recallChosen(Grid& grid, const Palette& palette, const NameBox& names, const SpriteTable& table)
{
    const int source = findEntry(table, names.text()).value_or(0);
    showEntry(grid, palette, table[static_cast<std::size_t>(source)]);
}

} // namespace bitloom
