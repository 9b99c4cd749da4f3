// The five tile layouts: known tiles written by hand, random drawings back
// and forth, and images wider than 8 split into tiles edited in place.
#include "codegen/tilelayout.h"
#include "printcell.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace bitloom;

namespace {

// Pictures as they look: '.' white, '+' grey, 'o' dark grey, '#' black; one
// string per row, leftmost character leftmost.
constexpr std::string_view kSymbols = ".+o#";

std::string pictureOf(const Shades& shades)
{
    std::string text;
    for (int row = 0; row < 8; ++row) {
        for (int column = 0; column < 8; ++column)
            text += kSymbols[std::size_t(codeOf(shades[std::size_t(cellAt(row, column))]))];
        text += '\n';
    }
    return text;
}

Shades shadesOf(std::string_view picture)
{
    Shades shades{};
    for (int row = 0; row < 8; ++row) {
        for (int column = 0; column < 8; ++column)
            shades[std::size_t(cellAt(row, column))] =
                shadeOfCode(int(kSymbols.find(picture[std::size_t(row * 9 + column)])));
    }
    return shades;
}

// The rules of each layout, read straight from the bytes one pixel at a time.
std::string referencePicture(TileLayout layout, const std::vector<std::uint8_t>& b)
{
    std::string text;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            int shade = 0;
            switch (layout) {
            case TileLayout::Gb: shade = (b[2 * y] >> (7 - x) & 1) + 2 * (b[2 * y + 1] >> (7 - x) & 1); break;
            case TileLayout::Nes: shade = (b[y] >> (7 - x) & 1) + 2 * (b[8 + y] >> (7 - x) & 1); break;
            case TileLayout::Rows: shade = 3 * (b[y] >> (7 - x) & 1); break;
            case TileLayout::RowsLsb: shade = 3 * (b[y] >> x & 1); break;
            case TileLayout::Columns: shade = 3 * (b[x] >> y & 1); break;
            }
            text += kSymbols[std::size_t(shade)];
        }
        text += '\n';
    }
    return text;
}

const std::string kFourShades = "#+o.....\n"
                                "........\n"
                                "..#.....\n"
                                "........\n"
                                "....++..\n"
                                "....oo..\n"
                                "........\n"
                                ".......#\n";
const std::string kTwoShades = "##......\n"
                               "#.......\n"
                               "..#.....\n"
                               "........\n"
                               "....##..\n"
                               "........\n"
                               "......#.\n"
                               ".......#\n";

struct KnownTile {
    TileLayout layout;
    std::string id;
    std::string menuItem;
    const std::string* picture;
    std::vector<std::uint8_t> bytes;
};

void PrintTo(const KnownTile& tile, std::ostream* out)
{
    *out << tile.id;
}

class KnownTiles : public testing::TestWithParam<KnownTile> {};

TEST_P(KnownTiles, DecodeAndEncode)
{
    const KnownTile& tile = GetParam();
    ASSERT_EQ(referencePicture(tile.layout, tile.bytes), *tile.picture) << "the table's bytes are wrong";
    EXPECT_EQ(pictureOf(decodeTile(tile.layout, tile.bytes)), *tile.picture);
    const EncodedTile encoded = encodeTile(tile.layout, shadesOf(*tile.picture));
    EXPECT_EQ(encoded.bytes, tile.bytes);
    EXPECT_FALSE(encoded.mappedShades);
    EXPECT_EQ(layoutId(tile.layout), tile.id);
    EXPECT_EQ(parseLayoutId(tile.id), tile.layout);
    EXPECT_EQ(bytesPerTile(tile.layout), int(tile.bytes.size()));
    EXPECT_EQ(layoutMenuItem(tile.layout), tile.menuItem);
    std::string text = tile.menuItem;
    text.erase(text.find('&'), 1);
    EXPECT_EQ(layoutMenuText(tile.layout), text);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, KnownTiles,
    testing::Values(KnownTile{TileLayout::Gb,
                              "gb",
                              "&Game Boy (2 bits, interleaved)",
                              &kFourShades,
                              {0xC0, 0xA0, 0, 0, 0x20, 0x20, 0, 0, 0x0C, 0, 0, 0x0C, 0, 0, 0x01, 0x01}},
                    KnownTile{TileLayout::Nes,
                              "nes",
                              "&NES (2 bits, planar)",
                              &kFourShades,
                              {0xC0, 0, 0x20, 0, 0x0C, 0, 0, 0x01, 0xA0, 0, 0x20, 0, 0, 0x0C, 0, 0x01}},
                    KnownTile{TileLayout::Rows,
                              "rows",
                              "1 bit, &rows, left bit high",
                              &kTwoShades,
                              {0xC0, 0x80, 0x20, 0, 0x0C, 0, 0x02, 0x01}},
                    KnownTile{TileLayout::RowsLsb,
                              "rows-lsb",
                              "1 bit, rows, left bit lo&w (XBM)",
                              &kTwoShades,
                              {0x03, 0x01, 0x04, 0, 0x30, 0, 0x40, 0x80}},
                    KnownTile{TileLayout::Columns,
                              "columns",
                              "1 bit, &columns (OLED pages)",
                              &kTwoShades,
                              {0x03, 0x01, 0x04, 0, 0x10, 0x10, 0x40, 0x80}}),
    [](const auto& info) { return info.param.id == "rows-lsb" ? std::string("rows_lsb") : info.param.id; });

TEST(TileLayout, OneBitMapsGreysAndSaysSo)
{
    // Grey goes to white, dark grey to black.
    const EncodedTile rows = encodeTile(TileLayout::Rows, shadesOf(kFourShades));
    EXPECT_TRUE(rows.mappedShades);
    EXPECT_EQ(pictureOf(decodeTile(TileLayout::Rows, rows.bytes)), "#.#.....\n"
                                                                   "........\n"
                                                                   "..#.....\n"
                                                                   "........\n"
                                                                   "........\n"
                                                                   "....##..\n"
                                                                   "........\n"
                                                                   ".......#\n");
    EXPECT_EQ(parseLayoutId("GB"), std::nullopt);
    EXPECT_EQ(parseLayoutId("pairs"), std::nullopt);
    EXPECT_EQ(twoShadesMessage(arrayTileName("font", 65)), "font[65] has two shades: white and black");

    // Each tile has one name: no signs, blanks or leading zeros.
    const auto ufo = parseArrayTileName("ufo[12]");
    ASSERT_TRUE(ufo);
    EXPECT_EQ(ufo->array, "ufo");
    EXPECT_EQ(ufo->index, 12);
    EXPECT_EQ(notATileMessage(*ufo), "ufo[12] is not a tile of ufo");
    for (const char* name :
         {"ufo", "ufo[]", "[3]", "ufo[03]", "ufo[-1]", "ufo[ 1]", "ufo[1] ", "ufo[99999999999]"})
        EXPECT_FALSE(parseArrayTileName(name)) << name;
}

TEST(TileImage, SizesFromLengths)
{
    EXPECT_EQ(imageFor(TileLayout::Gb, 8192), (TileImage{TileLayout::Gb, 8, 4096, 0}));
    EXPECT_EQ(imageFor(TileLayout::Gb, 8192)->tileCount(), 512);
    EXPECT_EQ(imageFor(TileLayout::Nes, 24), std::nullopt);
    EXPECT_EQ(tileCountFor(TileLayout::Rows, 2048), 256); // an 8 x 8 font
    EXPECT_EQ(tileCountFor(TileLayout::Rows, 39, 24), 6); // 24 x 13
    EXPECT_EQ(tileCountFor(TileLayout::Gb, 40), 0);
    EXPECT_EQ(imageFor(TileLayout::RowsLsb, 32, 16), (TileImage{TileLayout::RowsLsb, 16, 16, 0}));
    EXPECT_EQ(imageFor(TileLayout::RowsLsb, 30, 12), (TileImage{TileLayout::RowsLsb, 12, 15, 0}));
    EXPECT_FALSE(imageFor(TileLayout::RowsLsb, 30, 12)->editable());
    EXPECT_EQ(imageFor(TileLayout::Rows, 33, 16), std::nullopt);
    EXPECT_EQ(imageFor(TileLayout::Columns, 34, 16, 2, 16), (TileImage{TileLayout::Columns, 16, 16, 2}));
    EXPECT_EQ(imageFor(TileLayout::Columns, 26, 12, 2, 10)->tileCount(), 4);
    EXPECT_EQ(imageFor(TileLayout::Columns, 26, 12, 2, 17), std::nullopt); // three pages, not two
    EXPECT_EQ(imageFor(TileLayout::Columns, 24, 12), (TileImage{TileLayout::Columns, 12, 16, 0}));
    EXPECT_EQ(imageFor(TileLayout::Rows, 0), std::nullopt);
    EXPECT_EQ(imageFor(TileLayout::Columns, 2, 8, 2), std::nullopt);
}

std::vector<int> range(int from, int to, int step = 1)
{
    std::vector<int> out;
    for (int i = from; i < to; i += step)
        out.push_back(i);
    return out;
}

TEST(TileImage, SplitsIntoTilesLeftToRightTopToBottom)
{
    const TileImage xbm{TileLayout::RowsLsb, 16, 16, 0};
    EXPECT_EQ(tileBits(xbm, 0).bytes, range(0, 16, 2));
    EXPECT_EQ(tileBits(xbm, 1).bytes, range(1, 16, 2));
    EXPECT_EQ(tileBits(xbm, 3).bytes, range(17, 32, 2));
    const TileImage arduboy{TileLayout::Columns, 16, 16, 2};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(tileBits(arduboy, i).bytes, range(2 + 8 * i, 10 + 8 * i));
    EXPECT_EQ(tileBits(TileImage{TileLayout::Gb, 8, 24, 0}, 2).bytes, range(32, 48));

    // A 16 x 16 XBM picture: a frame with a dot near the top-left corner.
    std::vector<std::uint8_t> bytes(32);
    bytes[0] = 0xFF, bytes[1] = 0xFF, bytes[30] = 0xFF, bytes[31] = 0xFF;
    for (int row = 1; row < 15; ++row)
        bytes[std::size_t(2 * row)] = 0x01, bytes[std::size_t(2 * row + 1)] = 0x80;
    bytes[4] |= 0x04; // row 2, x 2
    EXPECT_EQ(pictureOf(readTile(tileBits(xbm, 0), bytes)), "########\n#.......\n#.#.....\n#.......\n"
                                                            "#.......\n#.......\n#.......\n#.......\n");
    EXPECT_EQ(readTiles(xbm, bytes)[3], readTile(tileBits(xbm, 3), bytes));
    EXPECT_EQ(pictureOf(readTile(tileBits(xbm, 3), bytes)), ".......#\n.......#\n.......#\n.......#\n"
                                                            ".......#\n.......#\n.......#\n########\n");
    const std::vector<Cell> whole = decodeImage(xbm, bytes);
    ASSERT_EQ(whole.size(), 256u);
    EXPECT_EQ(whole[2 * 16 + 2], Cell::Black);
    EXPECT_EQ(whole[2 * 16 + 3], Cell::White);
    EXPECT_EQ(whole[15 * 16 + 8], Cell::Black);

    // Edge tiles of a 12 x 10 Arduboy sprite: the cells beyond it are white
    // and belong to no byte.
    std::vector<std::uint8_t> sprite(26, 0xFF);
    sprite[0] = 12, sprite[1] = 10;
    const TileImage edge = *imageFor(TileLayout::Columns, sprite.size(), 12, 2, 10);
    EXPECT_EQ(tileBits(edge, 1).bytes, range(10, 14));
    EXPECT_EQ(tileBits(edge, 3).bytes, range(22, 26));
    EXPECT_EQ(pictureOf(readTile(tileBits(edge, 3), sprite)), "####....\n####....\n........\n........\n"
                                                              "........\n........\n........\n........\n");
}

// Random drawings (two shades on 1-bit layouts) read back from every tile
// of an image in each layout, and change no byte outside the tile.
TEST(TileImage, WritingATileChangesOnlyItsBytes)
{
    std::mt19937 random(20);
    const std::vector<TileImage> images = {
        {TileLayout::Gb, 8, 32, 0},       {TileLayout::Nes, 8, 16, 0},      {TileLayout::Rows, 24, 16, 0},
        {TileLayout::RowsLsb, 20, 13, 0}, {TileLayout::Columns, 16, 16, 2}, {TileLayout::Columns, 12, 10, 2}};
    for (const TileImage& image : images) {
        std::vector<std::uint8_t> bytes(image.byteCount());
        for (auto& byte : bytes)
            byte = std::uint8_t(random());
        for (int i = 0; i < image.tileCount(); ++i) {
            const TileBits bits = tileBits(image, i);
            Shades shades{};
            for (std::size_t k = 0; k < shades.size(); ++k)
                shades[k] =
                    bits.cells[k].lowByte < 0
                        ? Cell::White
                        : shadeOfCode(int(isOneBit(image.layout) ? 3 * (random() % 2) : random() % 4));
            std::vector<std::uint8_t> after = bytes;
            EXPECT_FALSE(writeTile(bits, shades, after));
            EXPECT_EQ(readTile(bits, after), shades) << layoutId(image.layout) << " tile " << i;
            for (std::size_t b = 0; b < bytes.size(); ++b) {
                if (bytes[b] != after[b]) {
                    EXPECT_TRUE(std::binary_search(bits.bytes.begin(), bits.bytes.end(), int(b)))
                        << layoutId(image.layout) << " tile " << i << " wrote byte " << b;
                }
            }
            if (image.header) {
                EXPECT_EQ(std::vector(after.begin(), after.begin() + image.header),
                          std::vector(bytes.begin(), bytes.begin() + image.header));
            }
            bytes = after;
        }
    }
}

} // namespace
