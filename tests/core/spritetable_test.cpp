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

TEST(SpriteTable, FreshTable)
{
    const SpriteTable table;
    EXPECT_EQ(findEntry(table, "Sprite"), std::nullopt);
    EXPECT_EQ(findFreeSlot(table), 0);
    // The empty name matches every free entry; the last match wins.
    EXPECT_EQ(findEntry(table, ""), 100);
}

TEST(SpriteTable, LookupTakesTheLastMatch)
{
    const auto table = tableWithNames({{3, "A"}, {7, "A"}, {9, "B"}, {100, "B"}});
    EXPECT_EQ(findEntry(table, "A"), 7);
    EXPECT_EQ(findEntry(table, "B"), 100);
}

TEST(SpriteTable, AllocationTakesTheFirstFree)
{
    EXPECT_EQ(findFreeSlot(tableWithNames({{0, "A"}, {1, "B"}})), 2);
    EXPECT_EQ(findFreeSlot(tableWithNames({{0, "A"}, {2, "B"}})), 1);

    SpriteTable full;
    for (auto& entry : full)
        entry.name = "X";
    EXPECT_EQ(findFreeSlot(full), std::nullopt);
    EXPECT_EQ(findEntry(full, ""), std::nullopt);

    full[42].name.clear();
    EXPECT_EQ(findFreeSlot(full), 42);
    EXPECT_EQ(findEntry(full, ""), 42);
}

TEST(SpriteTable, EmptyNameFindsTheHighestFreeEntry)
{
    EXPECT_EQ(findEntry(tableWithNames({{100, "Z"}}), ""), 99);
    EXPECT_EQ(findEntry(tableWithNames({{0, "A"}, {99, "Y"}, {100, "Z"}}), ""), 98);
}

TEST(SpriteTable, NamesCompareExactly)
{
    const auto table = tableWithNames({{5, "Sprite"}});
    EXPECT_EQ(findEntry(table, "Sprite"), 5);
    for (const char* other : {"sprite", "SPRITE", "Sprite ", " Sprite", "Sprit", "Sprites", "Sprite\t"})
        EXPECT_EQ(findEntry(table, other), std::nullopt) << '"' << other << '"';
}

TEST(SpriteTable, NamesMayHoldAnyBytes)
{
    const std::string withNul("A\0B", 3);
    const std::string longName(10000, 'x');
    auto t = tableWithNames({{1, "Ğöç 😀"}});
    t[2].name = withNul;
    t[3].name = longName;
    EXPECT_EQ(findEntry(t, "Ğöç 😀"), 1);
    EXPECT_EQ(findEntry(t, withNul), 2);
    EXPECT_EQ(findEntry(t, "A"), std::nullopt);
    EXPECT_EQ(findEntry(t, longName), 3);
    EXPECT_EQ(findEntry(t, longName.substr(1)), std::nullopt);
}

} // namespace
