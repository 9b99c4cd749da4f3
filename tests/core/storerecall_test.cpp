#include "document/storerecall.h"
#include "pictures.h"

#include <gtest/gtest.h>

using namespace bitloom;
using bitloom::test::filledGrid;
using bitloom::test::gridOf;

namespace {

const Grid kWhite = filledGrid(Cell::White);
const Grid kBlack = filledGrid(Cell::Black);
const Grid kFace =
    gridOf({"..####..", ".#....#.", "#.+..+.#", "#......#", "#.o..o.#", "#..oo..#", ".#....#.", "..####.."});

class StoreRecall : public ::testing::Test {
protected:
    void store(const Grid& grid, const std::string& name) { storeDrawing(grid, name, table); }
    Grid typed(const std::string& name, Grid grid = kBlack)
    {
        recallTyped(grid, name, table);
        return grid;
    }
    Grid chosen(const std::string& name, Grid grid = initialGrid())
    {
        recallChosen(grid, name, table);
        return grid;
    }
    bool unchangedSince(const SpriteTable& before) const
    {
        for (std::size_t i = 0; i < table.size(); ++i)
            if (table[i].name != before[i].name || table[i].shades != before[i].shades)
                return false;
        return true;
    }

    SpriteTable table;
};

TEST_F(StoreRecall, StoreSkipsUnpaintedCells)
{
    table[0].name = "A";
    store(kBlack, "A");
    Grid partly = initialGrid();
    partly[0] = Cell::Grey;
    partly[63] = Cell::White;
    store(partly, "A");
    Grid expected = kBlack;
    expected[0] = Cell::Grey;
    expected[63] = Cell::White;
    EXPECT_EQ(typed("A"), expected);

    // A cell never painted in a fresh entry keeps code 0 and comes back white.
    table[1].name = "B";
    store(partly, "B");
    expected = kWhite;
    expected[0] = Cell::Grey;
    EXPECT_EQ(typed("B"), expected);
    EXPECT_EQ(chosen("B"), expected);
}

TEST_F(StoreRecall, StoreForANameWithoutEntryChangesNothing)
{
    table[0].name = "A";
    table[1].name = "BA";
    const SpriteTable before = table;
    for (const char* other : {"B", "a", "A ", "AB"})
        store(kBlack, other);
    EXPECT_TRUE(unchangedSince(before));
}

TEST_F(StoreRecall, EmptyNameUsesTheHighestFreeEntry)
{
    table[100].name = "Z";
    store(kFace, "");
    EXPECT_EQ(table[99].name, "") << "the entry stays free";
    EXPECT_EQ(typed(""), kFace);
    EXPECT_EQ(chosen(""), kFace);

    for (auto& entry : table)
        entry.name = "X";
    const SpriteTable full = table;
    store(kBlack, "");
    EXPECT_TRUE(unchangedSince(full)) << "no free entry: nowhere to write";
    EXPECT_EQ(typed(""), kWhite);
}

TEST_F(StoreRecall, UnknownNameTypedShowsWhiteChosenShowsEntryZero)
{
    table[0].name = "First";
    table[1].name = "Face";
    store(kBlack, "First");
    store(kFace, "Face");
    EXPECT_EQ(typed("Face", initialGrid()), kFace);
    EXPECT_EQ(chosen("Face"), kFace);
    EXPECT_EQ(typed("face"), kWhite) << "typing clears first";
    EXPECT_EQ(chosen("face"), kBlack) << "choosing falls back to entry 0";
}

} // namespace
