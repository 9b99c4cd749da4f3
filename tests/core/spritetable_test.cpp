#include "model/spritetable.h"

#include <gtest/gtest.h>

using namespace bitloom;

namespace {

SpriteTable tableWithNames(std::initializer_list<std::pair<int, const char*>> names)
{
    SpriteTable table;
    for (const auto& [index, name] : names)
        table[static_cast<std::size_t>(index)].name = name;
    return table;
}

TEST(SpriteTable, LookupTakesTheLastMatchAllocationTheFirstFree)
{
    EXPECT_EQ(findEntry(SpriteTable{}, "Sprite"), std::nullopt);
    EXPECT_EQ(findFreeSlot(SpriteTable{}), 0);

    const auto table = tableWithNames({{0, "B"}, {3, "A"}, {7, "A"}, {100, "B"}});
    EXPECT_EQ(findEntry(table, "A"), 7);
    EXPECT_EQ(findEntry(table, "B"), 100);
    EXPECT_EQ(findFreeSlot(table), 1);
}

TEST(SpriteTable, EmptyNameMatchesTheHighestFreeEntry)
{
    EXPECT_EQ(findEntry(SpriteTable{}, ""), 100);
    EXPECT_EQ(findEntry(tableWithNames({{0, "A"}, {99, "Y"}, {100, "Z"}}), ""), 98);

    SpriteTable full;
    for (auto& entry : full)
        entry.name = "X";
    EXPECT_EQ(findFreeSlot(full), std::nullopt);
    EXPECT_EQ(findEntry(full, ""), std::nullopt);
    full[42].name.clear();
    EXPECT_EQ(findFreeSlot(full), 42);
    EXPECT_EQ(findEntry(full, ""), 42);
}

TEST(SpriteTable, NamesCompareExactly)
{
    auto table = tableWithNames({{5, "Sprite"}});
    table[6].name = std::string("A\0B", 3);
    EXPECT_EQ(findEntry(table, "Sprite"), 5);
    for (const char* other : {"sprite", "SPRITE", "Sprite ", " Sprite", "Sprit", "Sprites", "Sprite\t", "A"})
        EXPECT_EQ(findEntry(table, other), std::nullopt) << '"' << other << '"';
    EXPECT_EQ(findEntry(table, std::string("A\0B", 3)), 6);
}

} // namespace
