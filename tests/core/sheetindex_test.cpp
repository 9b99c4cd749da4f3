// The index kept beside a sheet, read back: escapes, line endings, lines
// that name nothing, and which existing sprites an import would replace.
#include "codegen/tilenames.h"
#include "document/document.h"
#include "model/tilesheet.h"

#include <gtest/gtest.h>

#include <random>

using namespace bitloom;

namespace {

using Index = std::vector<std::optional<std::string>>;

TEST(SheetIndex, ReadsBackWhatWasWrittenForAnyNames)
{
    // Every character the escapes touch, next to each other and at the ends.
    const std::vector<std::string> names = {"hero0", "",   "a b",      "two\nlines", "back\\slash\r",
                                            "\\n",   "\\", "\r\n\\\\", "trailing\\", "x\ty"};
    const Index read = parseSheetIndex(sheetIndexText(names));
    ASSERT_EQ(read.size(), names.size());
    for (std::size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(read[i], names[i]) << "name " << i;

    // And for random bytes other than NUL.
    std::mt19937 random(14);
    for (int round = 0; round < 200; ++round) {
        std::vector<std::string> many(1 + random() % 5);
        for (std::string& name : many) {
            name.resize(random() % 12);
            for (char& c : name)
                c = char(1 + random() % 255);
        }
        const Index back = parseSheetIndex(sheetIndexText(many));
        ASSERT_EQ(back.size(), many.size());
        for (std::size_t i = 0; i < many.size(); ++i)
            ASSERT_EQ(back[i], many[i]) << "round " << round;
    }
}

TEST(SheetIndex, EditedElsewhere)
{
    // CRLF line endings, no final line break, lines out of order, gaps, a
    // repeated index (the later counts) and an unknown escape kept as typed.
    EXPECT_EQ(parseSheetIndex("2 coin\r\n0 key\r\n0 ghost\r\n4 a\\tb"),
              (Index{"ghost", std::nullopt, "coin", std::nullopt, "a\\tb"}));
    // Lines that are no "index name" name nothing.
    EXPECT_EQ(parseSheetIndex("notes\n\n-1 neg\n 1 lead\n1\n1x y\n1  two\n"), (Index{std::nullopt, " two"}));
    EXPECT_EQ(parseSheetIndex(""), Index{});
    // An index no image can have is not believed, however many digits.
    EXPECT_EQ(parseSheetIndex("16384 far\n99999999999999999999 huge\n16383 last\n").size(), 16384u);
    EXPECT_TRUE(parseSheetIndex("16384 far\n99999999999999999999 huge\n").empty());
    // A NUL in a name would make a text that cannot be opened again.
    EXPECT_EQ(parseSheetIndex(std::string("0 a\0b\n1 ok\n", 11)), (Index{std::nullopt, "ok"}));
}

TEST(SheetIndex, NamesOnlyTheTilesItNames)
{
    std::vector<Tile> tiles(4);
    for (std::size_t i = 0; i < tiles.size(); ++i)
        tiles[i].name = "sheet" + std::to_string(i);
    nameTiles(tiles, Index{"coin", std::nullopt, "two\nlines", "key", "beyond"});
    EXPECT_EQ(tiles[0].name, "coin");
    EXPECT_EQ(tiles[1].name, "sheet1");
    EXPECT_EQ(tiles[2].name, "sheet2") << "a line break cannot stand in a declaration";
    EXPECT_EQ(tiles[3].name, "key");
}

TEST(SheetIndex, AnImportReplacesTheSpritesTheTextDeclares)
{
    Document document;
    const auto drawing = [](const std::string& name, int shade) {
        Tile tile{name, {}};
        tile.shades.fill(shadeOfCode(shade));
        return tile;
    };
    ASSERT_FALSE(document.importDrawings({drawing("coin", 1), drawing("key", 2), drawing("ghost", 3)}));
    // Each changed name once, in the drawings' order; new names are no
    // replacement, nor is a drawing that stays as it is. A name imported
    // twice ends with its last drawing.
    EXPECT_EQ(document.importReplacedNames({drawing("ghost", 3), drawing("new", 0), drawing("coin", 0),
                                            drawing("key", 2), drawing("ghost", 1), drawing("coin", 1)}),
              (std::vector<std::string>{"ghost"}));
    EXPECT_TRUE(document.importReplacedNames({drawing("new", 0), drawing("key", 2)}).empty());
    // The current sprite's brushed cells are its drawing.
    document.typeName("key");
    document.selectColour(3);
    document.chooseBrush();
    document.moveOver(5);
    EXPECT_EQ(document.importReplacedNames({drawing("key", 2)}), (std::vector<std::string>{"key"}));
    // Asking changes nothing.
    EXPECT_EQ(document.names(), (std::vector<std::string>{"coin", "key", "ghost"}));
}

} // namespace
