#include "codegen/plainpanes.h"
#include "model/storerecall.h"
#include "pictures.h"

#include <gtest/gtest.h>

using namespace bitloom;
using bitloom::test::filledGrid;
using bitloom::test::gridOf;

namespace {

const Grid kWhite = filledGrid(kPalette[0]);
const Grid kBlack = filledGrid(kPalette[3]);

const Grid kFace = gridOf({"..####..", ".#....#.", "#.+..+.#", "#......#", "#.o..o.#", "#..oo..#", ".#....#.",
                           "..####.."});

std::array<Code, kCellCount> codesOf(const Grid& grid)
{
    std::array<Code, kCellCount> codes{};
    for (int k = 0; k < kCellCount; ++k)
        codes[static_cast<std::size_t>(k)] = codeOf(kPalette, grid[static_cast<std::size_t>(k)]).value();
    return codes;
}

class StoreRecall : public ::testing::Test {
protected:
    void name(int index, const std::string& n) { table[static_cast<std::size_t>(index)].name = n; }
    void store(const Grid& grid, const std::string& n) { Kaydet(grid, kPalette, PlainNameBox(n), table); }

    SpriteTable table;
};

TEST_F(StoreRecall, StoreCopiesPaletteCodesIntoTheNamedEntry)
{
    name(0, "A");
    name(1, "Face");
    store(kFace, "Face");
    EXPECT_EQ(table[1].codes, codesOf(kFace));
    EXPECT_EQ(table[1].name, "Face");
    EXPECT_EQ(table[0].codes, SpriteEntry{}.codes);

    // Black stored, then white stored again: the cell ends at code 0.
    store(kBlack, "Face");
    store(kWhite, "Face");
    EXPECT_EQ(table[1].codes, codesOf(kWhite));
}

TEST_F(StoreRecall, StoreSkipsCellsOfNoPaletteColour)
{
    name(0, "A");
    store(kBlack, "A");
    Grid partly = initialGrid();
    partly[0] = kPalette[1];
    partly[63] = kPalette[0];
    partly[20] = 0x00FEFEFEu; // close to white, still no palette colour
    store(partly, "A");
    for (int k = 0; k < kCellCount; ++k) {
        const Code expected = k == 0 ? 1 : k == 63 ? 0 : 3;
        EXPECT_EQ(table[0].codes[static_cast<std::size_t>(k)], expected) << "cell " << k;
    }
}

TEST_F(StoreRecall, StoreWritesTheNewerOfTwoEntriesOfOneName)
{
    name(2, "A");
    name(5, "A");
    store(kBlack, "A");
    EXPECT_EQ(table[5].codes, codesOf(kBlack));
    EXPECT_EQ(table[2].codes, SpriteEntry{}.codes);
}

TEST_F(StoreRecall, StoreForANameWithoutEntryChangesNothing)
{
    name(0, "A");
    name(1, "");
    const SpriteTable before = table;
    for (const char* other : {"B", "a", "A ", "BA"})
        store(kBlack, other);
    for (int i = 0; i < kSpriteTableSize; ++i) {
        EXPECT_EQ(table[static_cast<std::size_t>(i)].codes, before[static_cast<std::size_t>(i)].codes) << i;
        EXPECT_EQ(table[static_cast<std::size_t>(i)].name, before[static_cast<std::size_t>(i)].name) << i;
    }
}

TEST_F(StoreRecall, StoreUnderTheEmptyNameUsesTheHighestFreeEntry)
{
    name(100, "Z");
    store(kBlack, "");
    EXPECT_EQ(table[99].codes, codesOf(kBlack));
    EXPECT_EQ(table[99].name, "") << "the entry stays free";
    EXPECT_EQ(table[100].codes, SpriteEntry{}.codes);

    // With no free entry there is nowhere to write.
    for (auto& entry : table)
        entry.name = "X";
    const SpriteTable full = table;
    store(kFace, "");
    for (int i = 0; i < kSpriteTableSize; ++i)
        EXPECT_EQ(table[static_cast<std::size_t>(i)].codes, full[static_cast<std::size_t>(i)].codes) << i;
}

TEST_F(StoreRecall, TypingClearsToWhiteThenShowsTheEntry)
{
    name(0, "A");
    name(1, "AB");
    store(kFace, "AB");

    Grid grid = kBlack;
    sprName_Change(grid, kPalette, PlainNameBox("AB"), table);
    EXPECT_EQ(grid, kFace);

    // Typed letter by letter: the prefix "A" is a stored (blank) sprite, the
    // other prefixes are unknown and show white.
    for (const char* typed : {"", "A", "AB", "ABC", "ab"}) {
        grid = initialGrid();
        sprName_Change(grid, kPalette, PlainNameBox(typed), table);
        EXPECT_EQ(grid, std::string(typed) == "AB" ? kFace : kWhite) << '"' << typed << '"';
    }
}

TEST_F(StoreRecall, TypingTheEmptyNameShowsTheHighestFreeEntry)
{
    store(kFace, ""); // lands in entry 100
    Grid grid = kBlack;
    sprName_Change(grid, kPalette, PlainNameBox(""), table);
    EXPECT_EQ(grid, kFace);

    for (auto& entry : table)
        entry.name = "X";
    grid = kBlack;
    sprName_Change(grid, kPalette, PlainNameBox(""), table);
    EXPECT_EQ(grid, kWhite);
}

TEST_F(StoreRecall, ChoosingFallsBackToEntryZero)
{
    name(0, "First");
    name(1, "Face");
    store(kBlack, "First");
    store(kFace, "Face");

    Grid grid = initialGrid();
    sprName_Click(grid, kPalette, PlainNameBox("Face"), table);
    EXPECT_EQ(grid, kFace);

    // Unknown name: entry 0 is shown, not a white grid as typing would give.
    grid = initialGrid();
    sprName_Click(grid, kPalette, PlainNameBox("face"), table);
    EXPECT_EQ(grid, kBlack);
}

TEST_F(StoreRecall, NeverPaintedCellsComeBackWhite)
{
    name(0, "A");
    Grid drawn = initialGrid();
    drawn[10] = kPalette[2];
    store(drawn, "A");

    Grid expected = kWhite;
    expected[10] = kPalette[2];
    for (const bool choose : {false, true}) {
        Grid grid = kBlack;
        if (choose)
            sprName_Click(grid, kPalette, PlainNameBox("A"), table);
        else
            sprName_Change(grid, kPalette, PlainNameBox("A"), table);
        EXPECT_EQ(grid, expected) << (choose ? "choosing" : "typing");
    }
}

} // namespace
