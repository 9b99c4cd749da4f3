// The tile arrays of sample files in other tools' shapes: which arrays are
// tiles, in which layout and size, each tile checked against a decoder
// written here from the formats' descriptions, and a tile written back
// changing only its own numbers.
#include "codegen/tilearrays.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

using namespace bitloom;

namespace {

std::string sample(const std::string& file)
{
    std::ifstream in(std::string(BITLOOM_TEST_HEADERS) + "/tiles/" + file, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

int bit(std::uint8_t byte, int index)
{
    return (byte >> index) & 1;
}

// The shade of pixel (x, y) of a whole image, straight from the format's
// description.
int pixel(TileLayout layout, const std::vector<std::uint8_t>& b, int width, int header, int tile, int x,
          int y)
{
    switch (layout) {
    case TileLayout::Gb: return bit(b[tile * 16 + 2 * y], 7 - x) + 2 * bit(b[tile * 16 + 2 * y + 1], 7 - x);
    case TileLayout::Nes: return bit(b[tile * 16 + y], 7 - x) + 2 * bit(b[tile * 16 + 8 + y], 7 - x);
    case TileLayout::Rows: return 3 * bit(b[header + y * ((width + 7) / 8) + x / 8], 7 - x % 8);
    case TileLayout::RowsLsb: return 3 * bit(b[header + y * ((width + 7) / 8) + x / 8], x % 8);
    case TileLayout::Columns: return 3 * bit(b[header + (y / 8) * width + x], y % 8);
    }
    return -1;
}

struct Expected {
    const char* file;
    const char* array;
    TileLayout layout;
    int width, height, header, tiles;
    LayoutSource source;
};

const Expected kSamples[] = {
    {"gb_designer.c", "ShipTiles", TileLayout::Gb, 8, 32, 0, 4, LayoutSource::File},
    {"converter_tiles.c", "items_tiles", TileLayout::Gb, 8, 32, 0, 4, LayoutSource::Size},
    {"nes_chr.h", "CHR", TileLayout::Nes, 8, 128, 0, 16, LayoutSource::Size},
    {"cursor.xbm.h", "cursor_bits", TileLayout::RowsLsb, 16, 16, 0, 4, LayoutSource::File},
    {"arduboy_player.h", "player", TileLayout::Columns, 16, 8, 2, 2, LayoutSource::File},
    {"adafruit_logo.h", "logo_bmp", TileLayout::Rows, 16, 16, 0, 4, LayoutSource::File},
    {"font8x8.h", "font", TileLayout::Rows, 8, 1024, 0, 128, LayoutSource::Size},
};

class SampleFile : public testing::TestWithParam<Expected> {};

} // namespace

TEST_P(SampleFile, ReadsItsTilesAndWritesOneBackInPlace)
{
    const Expected& e = GetParam();
    const std::string text = sample(e.file);
    const TileArrays read = readTileArrays(text);
    ASSERT_EQ(read.arrays.size(), 1u);
    const TileArray& array = read.arrays.front();
    EXPECT_EQ(array.name, e.array);
    EXPECT_EQ(array.image.layout, e.layout);
    EXPECT_EQ(array.image.width, e.width);
    EXPECT_EQ(array.image.height, e.height);
    EXPECT_EQ(array.image.header, e.header);
    EXPECT_EQ(array.source, e.source);
    ASSERT_EQ(array.tileCount(), e.tiles);

    const int across = e.width / 8;
    for (int t = 0; t < e.tiles; ++t) {
        const Shades shades = array.tile(t);
        const bool plain = e.layout == TileLayout::Gb || e.layout == TileLayout::Nes;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                const int expected = plain ? pixel(e.layout, array.bytes, 8, 0, t, x, y)
                                           : pixel(e.layout, array.bytes, e.width, e.header, 0,
                                                   (t % across) * 8 + x, (t / across) * 8 + y);
                ASSERT_EQ(codeOf(shades[std::size_t(cellAt(y, x))]), expected) << e.file << " tile " << t;
            }
    }

    // The last tile with its top-left cell inverted: only that tile's numbers
    // change, and the text reads back with the new drawing.
    const int last = e.tiles - 1;
    Shades drawing = array.tile(last);
    Cell& corner = drawing[std::size_t(cellAt(0, 0))];
    corner = corner == Cell::White ? Cell::Black : Cell::White;
    const auto write = writeTileEdit(text, array, last, drawing);
    ASSERT_TRUE(write);
    std::string edited = text;
    applyEdit(edited, write->edit);
    const TileArrays again = readTileArrays(edited);
    ASSERT_EQ(again.arrays.size(), 1u);
    EXPECT_EQ(again.arrays[0].tile(last), drawing);
    for (int t = 0; t < last; ++t)
        EXPECT_EQ(again.arrays[0].tile(t), array.tile(t));
    const auto [from, to] = array.tileExtent(text, last);
    EXPECT_EQ(edited.substr(0, from), text.substr(0, from));
    EXPECT_EQ(edited.substr(edited.size() - (text.size() - to)), text.substr(to));
}

INSTANTIATE_TEST_SUITE_P(TileArrays, SampleFile, testing::ValuesIn(kSamples),
                         [](const testing::TestParamInfo<Expected>& info) {
                             std::string name = info.param.array;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });

TEST(TileArrays, PairsAndPlainDataAreNoTiles)
{
    EXPECT_TRUE(readTileArrays(sample("arduino_pair.h")).arrays.empty());
    EXPECT_TRUE(readTileArrays("static const unsigned char crc_table[256] = {0};\n"
                               "unsigned char backlight[]={1,2,3};\n")
                    .arrays.empty());
}

TEST(TileArrays, TheUsersChoiceReadsAnyArray)
{
    const std::string text = "const unsigned char table[16] = {1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16};\n";
    const TileArrays chosen = readTileArrays(text, [](std::string_view) {
        return LayoutChoice{TileLayout::Nes, false, std::nullopt};
    });
    ASSERT_EQ(chosen.arrays.size(), 1u);
    EXPECT_EQ(chosen.arrays[0].source, LayoutSource::Choice);
    const TileArrays refused = readTileArrays(sample("gb_designer.c"), [](std::string_view) {
        return LayoutChoice{std::nullopt, true, std::nullopt};
    });
    EXPECT_TRUE(refused.arrays.empty());
}

// Copy gives a tile as one line of its bytes in the array's notation, and
// that line pastes back as the same drawing, in every sample's layout.
TEST_P(SampleFile, ATileCopiesAsOneLineOfItsBytesAndReadsBack)
{
    const std::string text = sample(GetParam().file);
    const TileArrays read = readTileArrays(text);
    const TileArray& array = read.arrays.at(0);
    for (int t = 0; t < array.tileCount(); ++t) {
        const std::string line = tileBytesText(text, array, t);
        EXPECT_EQ(line.find('\n'), std::string::npos);
        EXPECT_EQ(tileFromBytesText(line, array.image.layout), array.tile(t)) << line;
    }
}

TEST(TileArrays, TheCopiedLineKeepsTheArraysNotation)
{
    const std::string text = "const unsigned char font[2][8] = {\n"
                             "  {0x00U, 0X7E, B00011000, 0x18, 0x18, 0x18, 0x7e, 0x00},\n"
                             "  {0x00U, 0X7E, B01000010, 0x42, 0x42, 0x42, 0x7e, 0x00},\n"
                             "};\n";
    const TileArrays read = readTileArrays(text);
    const TileArray& array = read.arrays.at(0);
    EXPECT_EQ(tileBytesText(text, array, 1), "0x00U, 0X7E, B01000010, 0x42, 0x42, 0x42, 0x7e, 0x00");
    EXPECT_FALSE(tileFromBytesText("0x00, 0x7e, 0x42", TileLayout::Rows)); // too few
    EXPECT_FALSE(tileFromBytesText("0x00, 0x7e, 'a', 1, 2, 3, 4, 5", TileLayout::Rows));
    EXPECT_TRUE(tileFromBytesText("0x00,0x7e,0x42,0x42,0x42,0x42,0x7e,0x00, // font[1]", TileLayout::Rows));
}
