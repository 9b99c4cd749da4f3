#pragma once

#include "grid.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace bitloom {

// One stored sprite. An empty name marks the entry as free.
struct SpriteEntry {
    std::string name;
    Shades shades{};
};

inline constexpr int kSpriteTableSize = 101;

using SpriteTable = std::array<SpriteEntry, kSpriteTableSize>;

// Index of the LAST entry whose name equals `name` exactly (same length,
// same characters, case significant), or none. The empty name matches every
// free entry.
std::optional<int> findEntry(const SpriteTable& table, std::string_view name);

// Index of the FIRST free entry, or none when all entries carry names.
std::optional<int> findFreeSlot(const SpriteTable& table);

} // namespace bitloom
