#include "spritetable.h"

namespace bitloom {

std::optional<int> findEntry(const SpriteTable& table, std::string_view name)
{
    // The scan never stops early: a name registered twice resolves to its
    // newer (higher) entry.
    std::optional<int> result;
    for (int i = 0; i < kSpriteTableSize; ++i) {
        if (table[static_cast<std::size_t>(i)].name == name)
            result = i;
    }
    return result;
}

std::optional<int> findFreeSlot(const SpriteTable& table)
{
    for (int i = 0; i < kSpriteTableSize; ++i) {
        if (table[static_cast<std::size_t>(i)].name.empty())
            return i;
    }
    return std::nullopt;
}

} // namespace bitloom
