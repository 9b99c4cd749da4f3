#include "codegen/tilenames.h"
#include "model/tilesheet.h"
#include "model/transform.h"
#include "pictures.h"

#include <gtest/gtest.h>

#include <random>

using namespace bitloom;

namespace {

Rgba grey(int v, int alpha = 255)
{
    const auto c = std::uint8_t(v);
    return {c, c, c, std::uint8_t(alpha)};
}

// A picture drawn in characters, one per pixel: '.' white, '+' grey,
// 'o' dark grey, '#' black, ' ' fully transparent.
std::vector<Rgba> picture(const std::vector<std::string>& rows)
{
    std::vector<Rgba> pixels;
    for (const std::string& row : rows) {
        for (const char c : row) {
            switch (c) {
            case '.': pixels.push_back(grey(255)); break;
            case '+': pixels.push_back(grey(128)); break;
            case 'o': pixels.push_back(grey(64)); break;
            case '#': pixels.push_back(grey(0)); break;
            default: pixels.push_back(grey(0, 0)); break;
            }
        }
    }
    return pixels;
}

// `count` tiles laid out as a sheet, each tile filled with one code.
std::vector<Rgba> sheetOfFilledTiles(const std::vector<int>& fills)
{
    const PixelSize size = sheetSize(int(fills.size()));
    std::vector<Rgba> pixels(std::size_t(size.width * size.height), grey(0, 0));
    const int levels[] = {255, 128, 64, 0};
    for (std::size_t i = 0; i < fills.size(); ++i) {
        const PixelPoint at = tileOrigin(int(i));
        for (int y = 0; y < kTileSide; ++y)
            for (int x = 0; x < kTileSide; ++x)
                pixels[std::size_t((at.y + y) * size.width + at.x + x)] = grey(levels[fills[i]]);
    }
    return pixels;
}

Shades filled(int code)
{
    Shades codes;
    codes.fill(shadeOfCode(code));
    return codes;
}

TEST(Quantise, PaletteGreysKeepTheirCodesAndColoursGoByLuminance)
{
    EXPECT_EQ(nearestShade(grey(255)), Cell::White);
    EXPECT_EQ(nearestShade(grey(128)), Cell::Grey);
    EXPECT_EQ(nearestShade(grey(64)), Cell::DarkGrey);
    EXPECT_EQ(nearestShade(grey(0)), Cell::Black);
    // Luminance 0.299 R + 0.587 G + 0.114 B: green is light, blue is dark.
    EXPECT_EQ(nearestShade({255, 0, 0, 255}), Cell::DarkGrey); // 76
    EXPECT_EQ(nearestShade({0, 255, 0, 255}), Cell::Grey);     // 150
    EXPECT_EQ(nearestShade({0, 0, 255, 255}), Cell::Black);    // 29
    EXPECT_EQ(nearestShade({255, 255, 0, 255}), Cell::White);  // 226
}

TEST(Quantise, GreyGradientSplitsHalfwayBetweenGreysAndTiesGoLighter)
{
    // 0..31 black, 32..95 dark grey, 96..191 grey, 192..255 white; 32 and 96
    // lie exactly halfway and take the lighter grey.
    for (int v = 0; v < 256; ++v) {
        const Cell expected = shadeOfCode(v < 32 ? 3 : v < 96 ? 2 : v < 192 ? 1 : 0);
        EXPECT_EQ(nearestShade(grey(v)), expected) << "grey level " << v;
    }
}

TEST(Quantise, PixelsLessThanHalfOpaqueAreWhite)
{
    EXPECT_EQ(nearestShade(grey(0, 0)), Cell::White);
    EXPECT_EQ(nearestShade(grey(0, 127)), Cell::White);
    EXPECT_EQ(nearestShade(grey(0, 128)), Cell::Black);
    EXPECT_EQ(nearestShade(grey(64, 200)), Cell::DarkGrey);
}

TEST(Quantise, UnpaintedCellsExportAsWhite)
{
    const Grid grid = test::gridOf(
        {"#_______", "________", "________", "________", "________", "________", "________", "+o.____#"});
    Shades expected = filled(0);
    expected[7] = Cell::Black; // top-left
    expected[63] = Cell::Grey; // bottom-left
    expected[62] = Cell::DarkGrey;
    expected[56] = Cell::Black; // bottom-right
    EXPECT_EQ(painted(grid), expected);
}

TEST(TileNames, CharactersOutsideIdentifiersBecomeUnderscores)
{
    const std::pair<const char*, const char*> cases[] = {
        {"hero", "hero"},
        {"my hero-2", "my_hero_2"},
        {"_x9", "_x9"},
        {"1up", "_up"},                     // no identifier starts with a digit
        {"", "_"},                          // ".png"
        {"h\xC3\xA9ros", "h_ros"},          // one '_' per character, not per byte
        {"\xE6\x97\xA5\xE6\x9C\xAC", "__"}, // two CJK characters
        {"\xF0\x9F\x98\x80!", "__"},        // emoji and '!'
    };
    for (const auto& [base, stem] : cases)
        EXPECT_EQ(tileStem(base), stem) << base;
    EXPECT_EQ(tileName("hero", 0), "hero0");
    EXPECT_EQ(tileName("_up", 100), "_up100");
}

TEST(ImportLimits, SizeMustBeWholeTilesAndAtMost1024)
{
    using Reason = ImportRefusal::Reason;
    EXPECT_FALSE(sizeRefusal(8, 8));
    EXPECT_FALSE(sizeRefusal(1024, 1024));
    EXPECT_FALSE(sizeRefusal(80, 80));
    const struct {
        int width, height;
        Reason reason;
    } refused[] = {
        {1032, 8, Reason::TooLarge},     {8, 1032, Reason::TooLarge},    {2000, 3, Reason::TooLarge},
        {12, 8, Reason::NotTileAligned}, {8, 4, Reason::NotTileAligned}, {1, 1, Reason::NotTileAligned},
        {0, 0, Reason::Empty},           {0, 8, Reason::Empty},
    };
    for (const auto& c : refused) {
        const auto refusal = sizeRefusal(c.width, c.height);
        ASSERT_TRUE(refusal) << c.width << " x " << c.height;
        EXPECT_EQ(refusal->reason, c.reason) << c.width << " x " << c.height;
        EXPECT_EQ(refusal->width, c.width);
        EXPECT_EQ(refusal->height, c.height);
    }
}

TEST(ImportLimits, RoomCountsOnlyNamesTheTableDoesNotHoldYet)
{
    std::vector<Tile> tiles(3);
    for (int i = 0; i < 3; ++i)
        tiles[std::size_t(i)].name = tileName("hero", i);

    EXPECT_FALSE(roomRefusal(tiles, {}, 3));
    const auto refusal = roomRefusal(tiles, {}, 2);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->reason, ImportRefusal::Reason::NoRoom);
    EXPECT_EQ(refusal->tiles, 3);
    EXPECT_EQ(refusal->newNames, 3);
    EXPECT_EQ(refusal->freeEntries, 2);

    // Re-importing replaces drawings in place and needs no new entries.
    EXPECT_FALSE(roomRefusal(tiles, {"hero0", "other", "hero2"}, 1));
    EXPECT_FALSE(roomRefusal(tiles, {"hero0", "hero1", "hero2"}, 0));
    const auto partly = roomRefusal(tiles, {"hero1"}, 1);
    ASSERT_TRUE(partly);
    EXPECT_EQ(partly->newNames, 2);
}

TEST(CutTiles, TilesRunLeftToRightThenDownAndCellsCountFromTheRight)
{
    // Two tiles side by side over two rows of tiles.
    std::vector<std::string> rows = {
        "#.......+.......", "........ .......", "........ .......", "........ .......",
        "........ .......", "........ .......", "........ .......", ".......o .......",
    };
    for (int i = 0; i < 8; ++i)
        rows.push_back(std::string(16, i == 7 ? '#' : '.'));
    const auto tiles = cutTiles(picture(rows), 16, 16, "t");
    ASSERT_EQ(tiles.size(), 4u);
    EXPECT_EQ(tiles[0].name, "t0");
    EXPECT_EQ(tiles[3].name, "t3");

    Shades first = filled(0);
    first[7] = Cell::Black;     // top-left pixel is cell 7
    first[56] = Cell::DarkGrey; // bottom-right pixel is cell 56
    EXPECT_EQ(tiles[0].shades, first);

    Shades second = filled(0);
    second[7] = Cell::Grey; // a transparent pixel is white
    EXPECT_EQ(tiles[1].shades, second);

    Shades bottom = filled(0);
    for (int cell = 56; cell < 64; ++cell)
        bottom[std::size_t(cell)] = Cell::Black;
    EXPECT_EQ(tiles[2].shades, bottom);
    EXPECT_EQ(tiles[3].shades, bottom);
}

TEST(CutTiles, OnlyTheTransparentEndOfASheetsLastRowIsPadding)
{
    // 17 sprites: a second row with one tile and fifteen padding cells.
    std::vector<int> fills(17, 3);
    fills[16] = 1;
    auto sheet = sheetOfFilledTiles(fills);
    auto tiles = cutTiles(sheet, 128, 16, "s");
    ASSERT_EQ(tiles.size(), 17u);
    EXPECT_EQ(tiles[16].shades, filled(1));

    // A transparent tile before the last opaque one is a white sprite.
    sheet = sheetOfFilledTiles(std::vector<int>(20, 3));
    for (int y = 8; y < 16; ++y)
        for (int x = 8; x < 16; ++x)
            sheet[std::size_t(y * 128 + x)] = grey(0, 0);
    tiles = cutTiles(sheet, 128, 16, "s");
    ASSERT_EQ(tiles.size(), 20u);
    EXPECT_EQ(tiles[17].shades, filled(0));

    // Other shapes keep every tile, transparent or not.
    EXPECT_EQ(cutTiles(picture({std::string(16, ' ')}), 16, 1, "x").size(), 0u);
    const std::vector<Rgba> clear(16 * 8, grey(0, 0));
    EXPECT_EQ(cutTiles(clear, 16, 8, "x").size(), 2u);
    const std::vector<Rgba> clearSheet(128 * 16, grey(0, 0));
    EXPECT_EQ(cutTiles(clearSheet, 128, 16, "x").size(), 17u);
}

TEST(CutTiles, PixelsNotGreyAreCountedInTheTilesCutOnly)
{
    // The padding of a sheet is transparent and no tile: not counted.
    auto sheet = sheetOfFilledTiles(std::vector<int>(17, 2));
    const int tiles = int(cutTiles(sheet, 128, 16, "s").size());
    EXPECT_EQ(pixelsNotGrey(sheet, 128, tiles), 0);
    // Not quite grey, not quite opaque, transparent within a tile, a colour.
    sheet[0] = {128, 128, 129, 255};
    sheet[1] = grey(0, 254);
    sheet[2] = grey(0, 0);
    sheet[std::size_t(8 * 128 + 7)] = {255, 0, 0, 255};
    EXPECT_EQ(pixelsNotGrey(sheet, 128, tiles), 4);
    EXPECT_EQ(pixelsNotGrey(sheet, 128, 1), 3);
}

TEST(CutTiles, ASheetOf101RandomSpritesCutsBackIntoTheSameCodes)
{
    std::mt19937 random(101);
    std::vector<Shades> sprites(101);
    for (Shades& codes : sprites)
        for (Cell& code : codes)
            code = shadeOfCode(int(random() % 4));

    const PixelSize size = sheetSize(101);
    ASSERT_EQ(size.width, 128);
    ASSERT_EQ(size.height, 56);
    std::vector<Rgba> pixels(std::size_t(size.width * size.height), grey(0, 0));
    const int levels[] = {255, 128, 64, 0};
    for (std::size_t i = 0; i < sprites.size(); ++i) {
        const PixelPoint at = tileOrigin(int(i));
        for (int cell = 0; cell < kCellCount; ++cell)
            pixels[std::size_t((at.y + rowOf(cell)) * size.width + at.x + columnFromLeft(cell))] =
                grey(levels[codeOf(sprites[i][std::size_t(cell)])]);
    }

    const auto tiles = cutTiles(pixels, size.width, size.height, "sheet");
    ASSERT_EQ(tiles.size(), 101u);
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        EXPECT_EQ(tiles[i].name, "sheet" + std::to_string(i));
        EXPECT_EQ(tiles[i].shades, sprites[i]) << "tile " << i;
    }
}

TEST(SheetLayout, SixteenTilesToARowAndAnIndexLinePerTile)
{
    const auto size = [](int n) { return std::pair{sheetSize(n).width, sheetSize(n).height}; };
    EXPECT_EQ(size(0), std::pair(0, 0));
    EXPECT_EQ(size(1), std::pair(8, 8));
    EXPECT_EQ(size(16), std::pair(128, 8));
    EXPECT_EQ(size(17), std::pair(128, 16));
    EXPECT_EQ(size(101), std::pair(128, 56));
    EXPECT_EQ(tileOrigin(15).x, 120);
    EXPECT_EQ(tileOrigin(17).x, 8);
    EXPECT_EQ(tileOrigin(17).y, 8);

    EXPECT_EQ(sheetIndexText({}), "");
    EXPECT_EQ(sheetIndexText({"hero0", "", "a b", "two\nlines", "back\\slash\r"}),
              "0 hero0\n1 \n2 a b\n3 two\\nlines\n4 back\\\\slash\\r\n");
}

} // namespace
