// Tiles of arrays in the document: listed after the pair sprites, painted,
// undone and refused in place, every other byte of the text kept.
#include "document/document.h"
#include "model/transform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>

using namespace bitloom;

namespace {

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string samplePath(const std::string& file)
{
    return std::string(BITLOOM_TEST_HEADERS) + "/tiles/" + file;
}

void openSample(Document& document, const std::string& file)
{
    ASSERT_FALSE(document.open(readFile(samplePath(file)), file));
}

int listPosition(const Document& document, const std::string& name)
{
    const std::vector<std::string> names = document.listedNames();
    const auto found = std::find(names.begin(), names.end(), name);
    return found == names.end() ? -1 : int(found - names.begin());
}

// Paints `cell` of the sprite at list position `position` with the shade
// it does not have (black, or white on black).
void paintOneCell(Document& document, int position, int cell)
{
    document.chooseName(position);
    const Shades now = document.storedDrawing(position);
    document.selectColour(now[std::size_t(cell)] == Cell::Black ? 0 : 3);
    document.press(cell, MouseButton::Left);
}

struct SampleEdit {
    const char* file;
    const char* sprite; // the sprite painted
    int cell;
};

const SampleEdit kSampleEdits[] = {
    {"gb_designer.c", "ShipTiles[1]", 9},
    {"converter_tiles.c", "items_tiles[2]", 20},
    {"nes_chr.h", "CHR[5]", 0},
    {"cursor.xbm.h", "cursor_bits[3]", 63},
    {"arduboy_player.h", "player[1]", 36},
    {"adafruit_logo.h", "logo_bmp[2]", 7},
    {"font8x8.h", "font[65]", 27},
};

class SampleDocument : public testing::TestWithParam<SampleEdit> {};

} // namespace

// Each expected file was made once by this test (with BITLOOM_WRITE_EXPECTED
// set) and read by eye: only the numbers of the painted tile differ.
TEST_P(SampleDocument, APressRewritesOnlyItsTilesNumbers)
{
    const SampleEdit& e = GetParam();
    Document document;
    openSample(document, e.file);
    const std::string before = document.code();
    const int position = listPosition(document, e.sprite);
    ASSERT_GE(position, int(document.names().size()));
    const Shades drawing = document.storedDrawing(position);
    paintOneCell(document, position, e.cell);
    EXPECT_EQ(document.name(), e.sprite);
    EXPECT_EQ(document.undoDepth(), 1u);
    EXPECT_EQ(document.freeEntries(), kSpriteTableSize - int(document.names().size()));

    const std::string expectedPath = samplePath(std::string("expected/") + e.file);
    if (std::getenv("BITLOOM_WRITE_EXPECTED"))
        std::ofstream(expectedPath, std::ios::binary) << document.textToSave();
    EXPECT_EQ(document.textToSave(), readFile(expectedPath));

    document.undo();
    EXPECT_EQ(document.code(), before);
    EXPECT_EQ(document.storedDrawing(position), drawing);
}

INSTANTIATE_TEST_SUITE_P(Tiles, SampleDocument, testing::ValuesIn(kSampleEdits),
                         [](const testing::TestParamInfo<SampleEdit>& info) {
                             std::string name = info.param.file;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });

TEST(DocumentTiles, AreListedAfterThePairsAndTakeNoEntries)
{
    Document document;
    ASSERT_FALSE(
        document.open("const unsigned char a_light[8] = {1,2,3,4,5,6,7,8};\n"
                      "const unsigned char a_dark[8] = {0,0,0,0,0,0,0,0};\n"
                      "const unsigned char icons_tiles[32] = {\n"
                      "0xFF,0x00,0x81,0x00,0x81,0x00,0x81,0x00,0x81,0x00,0x81,0x00,0x81,0x00,0xFF,0x00,\n"
                      "0x00,0xFF,0x00,0x81,0x00,0x81,0x00,0x81,0x00,0x81,0x00,0x81,0x00,0x81,0x00,0xFF};\n",
                      "a.h"));
    EXPECT_EQ(document.listedNames(), (std::vector<std::string>{"a_", "icons_tiles[0]", "icons_tiles[1]"}));
    EXPECT_EQ(document.countText(), "1 of 101 sprites, 2 tiles in 1 array");
    document.chooseName(2);
    EXPECT_EQ(document.name(), "icons_tiles[1]");
    EXPECT_EQ(document.listedIndex(), 2);
    EXPECT_EQ(document.layoutText(), layoutStatusText(TileLayout::Gb, LayoutSource::Size));
    EXPECT_EQ(document.listedDrawings().size(), 3u);
    EXPECT_EQ(document.listedDrawings()[2], document.storedDrawing(2));
    document.typeName("icons_tiles[0]");
    EXPECT_EQ(document.listedIndex(), 1);
    EXPECT_EQ(document.grid()[0], Cell::Grey); // 0xFF low bits
}

TEST(DocumentTiles, RefusalsChangeNothingAndSayWhy)
{
    const std::string text = "const unsigned char font[2][8] = {\n"
                             "{0,0,0,0,0,0,0,0},\n"
                             "{1,2,3,4,5,6,7,8}};\n"
                             "// layout: rows\n"
                             "const unsigned char odd_bmp[6] = {1,2,3,4,5,6};\n";
    Document document;
    ASSERT_FALSE(document.open(text, "f.h"));
    ASSERT_EQ(document.name(), "font[0]");
    const auto expectRefused = [&](Refusal::Reason reason, const std::string& message) {
        EXPECT_EQ(document.code(), text);
        EXPECT_EQ(document.undoDepth(), 0u);
        EXPECT_FALSE(document.modified());
        EXPECT_EQ(document.lastRefusal().reason, reason);
        EXPECT_EQ(document.lastRefusal().message, message);
    };
    // Grey on a 1-bit tile: by press, brush and drag.
    document.selectColour(1);
    document.press(0, MouseButton::Left);
    expectRefused(Refusal::Reason::TwoShades, "font[0] has two shades: white and black");
    document.chooseBrush();
    document.moveOver(5);
    document.leaveGrid();
    expectRefused(Refusal::Reason::TwoShades, "font[0] has two shades: white and black");
    EXPECT_EQ(document.grid()[5], Cell::White);

    // A paste maps the shades and says so.
    Shades grey{};
    grey.fill(Cell::DarkGrey);
    document.pasteDrawing(grey);
    EXPECT_EQ(document.lastRefusal().reason, Refusal::Reason::ShadesMapped);
    EXPECT_EQ(document.tileArrays().find("font")->tile(0), [] {
        Shades black{};
        black.fill(Cell::Black);
        return black;
    }());
    document.undo();
    EXPECT_EQ(document.code(), text);

    // Remove Tile and Rename do nothing to a tile; Duplicate makes NAME_i.
    document.removeTile();
    expectRefused(Refusal::Reason::TileOfArray, "font[0] is a tile of an array: it cannot be removed");
    EXPECT_EQ(document.renameSprite("x"), Document::RenameRefusal::NoSprite);
    EXPECT_EQ(document.duplicateName(), "font_0");

    // A name of a tile that is none writes nothing.
    document.typeName("font[2]");
    expectRefused(Refusal::Reason::NotATile, "font[2] is not a tile of font");
    document.press(0, MouseButton::Left);
    expectRefused(Refusal::Reason::NotATile, "font[2] is not a tile of font");

    // An image whose size is no multiple of 8 is shown, never changed.
    document.typeName("odd_bmp[0]");
    ASSERT_TRUE(document.currentTile());
    for (const auto& action :
         std::vector<std::function<void()>>{[&] { document.clearTile(); }, [&] { document.flipVertically(); },
                                            [&] { document.pasteDrawing(grey); }}) {
        action();
        EXPECT_EQ(document.lastRefusal().reason, Refusal::Reason::NotEditable);
        EXPECT_EQ(document.code(), text);
    }
    EXPECT_EQ(document.undoDepth(), 0u);
}

TEST(DocumentTiles, DuplicateClearAndTheLayoutChoice)
{
    const std::string text = "const unsigned char font[2][8] = {\n"
                             "{255,0,0,0,0,0,0,0},\n"
                             "{1,2,3,4,5,6,7,8}};\n";
    Document document;
    ASSERT_FALSE(document.open(text, "f.h"));
    document.duplicateSprite();
    EXPECT_EQ(document.name(), "font_0");
    EXPECT_EQ(document.names(), std::vector<std::string>{"font_0"});
    EXPECT_EQ(document.listedNames().size(), 3u);
    document.chooseName(1);
    ASSERT_EQ(document.name(), "font[0]");
    EXPECT_EQ(document.duplicateName(), "font_0_copy");
    document.clearTile();
    Shades white{};
    white.fill(Cell::White);
    EXPECT_EQ(document.tileArrays().find("font")->tile(0), white);
    EXPECT_NE(document.code().find("{0,0,0,0,0,0,0,0},\n{1,2"), std::string::npos);
    document.undo();
    EXPECT_NE(document.code().find("{255,0,0"), std::string::npos);

    // A layout choice changes no byte and is no step: the tiles are read again.
    const std::size_t depth = document.undoDepth();
    const std::string code = document.code();
    document.setLayoutChooser([](std::string_view array) {
        return array == "font" ? LayoutChoice{TileLayout::Gb, false, std::nullopt} : LayoutChoice{};
    });
    EXPECT_EQ(document.code(), code);
    EXPECT_EQ(document.undoDepth(), depth);
    EXPECT_EQ(document.tileArrays().find("font")->tileCount(), 1);
    EXPECT_EQ(document.layoutText(), layoutStatusText(TileLayout::Gb, LayoutSource::Choice));
    document.setLayoutChooser([](std::string_view) {
        return LayoutChoice{std::nullopt, true, std::nullopt};
    });
    EXPECT_TRUE(document.tileArrays().arrays.empty());
    EXPECT_FALSE(document.currentTile());
}

// A press on a random tile of every layout changes exactly the tokens of
// that tile, and undo puts the text back.
TEST(DocumentTiles, APressOnARandomTileChangesOnlyItsTokens)
{
    std::mt19937 random(19);
    for (const TileLayout layout : kTileLayouts) {
        std::string text =
            "// layout: " + std::string(layoutId(layout)) + "\nconst unsigned char tiles[] = {";
        for (int i = 0; i < 16 * 12; ++i)
            text += (i ? (i % 8 ? ", " : ",\n  ") : "") + std::to_string(random() % 256);
        text += "};\n";
        Document document;
        ASSERT_FALSE(document.open(text, "r.h"));
        for (int round = 0; round < 20; ++round) {
            const TileArray array = *document.tileArrays().find("tiles");
            const int tile = int(random() % unsigned(array.tileCount()));
            const int cell = int(random() % 64);
            const std::string before = document.code();
            paintOneCell(document, int(document.names().size()) + tile, cell);
            const TileBits bits = tileBits(array.image, tile);
            // Every token outside the tile reads as before.
            const TileArray& now = *document.tileArrays().find("tiles");
            for (std::size_t b = 0; b < array.bytes.size(); ++b) {
                const bool ofTile =
                    std::find(bits.bytes.begin(), bits.bytes.end(), int(b)) != bits.bytes.end();
                if (!ofTile) {
                    ASSERT_EQ(now.bytes[b], array.bytes[b]) << layoutId(layout);
                }
            }
            EXPECT_NE(now.tile(tile), array.tile(tile));
            // The tiles kept after the press are those the text reads.
            const TileArrays read = readTileArrays(document.code());
            ASSERT_EQ(read.arrays.size(), 1u);
            ASSERT_EQ(read.arrays[0].numbers.size(), now.numbers.size());
            for (std::size_t b = 0; b < now.numbers.size(); ++b) {
                ASSERT_EQ(read.arrays[0].numbers[b].position, now.numbers[b].position);
                ASSERT_EQ(read.arrays[0].numbers[b].length, now.numbers[b].length);
                ASSERT_EQ(read.arrays[0].numbers[b].value, now.numbers[b].value);
            }
            ASSERT_EQ(read.arrays[0].lineEnd, now.lineEnd);
            document.undo();
            ASSERT_EQ(document.code(), before);
            document.redo();
        }
    }
}

// A brush run on a tile reaches its numbers when another tile is chosen,
// as one step that undo takes back whole.
TEST(DocumentTiles, ABrushRunOnATileEndsWhenAnotherIsChosen)
{
    const std::string text = "const unsigned char font[2][8] = {\n"
                             "{0,0,0,0,0,0,0,0},\n"
                             "{1,2,3,4,5,6,7,8}};\n";
    Document document;
    ASSERT_FALSE(document.open(text, "f.h"));
    document.selectColour(3);
    document.chooseBrush();
    for (const int cell : {0, 1, 2})
        document.moveOver(cell);
    document.chooseName(1);
    EXPECT_EQ(document.name(), "font[1]");
    EXPECT_NE(document.code().find("{7,0,0,0,0,0,0,0},\n{1,2"), std::string::npos);
    EXPECT_EQ(document.undoDepth(), 1u);
    document.undo();
    EXPECT_EQ(document.code(), text);
}
