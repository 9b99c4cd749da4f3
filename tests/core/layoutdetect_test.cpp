// Which arrays of a file are tiles, and in which layout: the file's own
// words first, then a guess from the name and size; and the --layout values.
#include "codegen/layoutdetect.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace bitloom;

namespace {

struct Case {
    std::string name;
    std::string text; // the file around the array; "@" marks where it is declared
    std::string array;
    std::vector<std::uint8_t> bytes;
    std::optional<int> inner = std::nullopt;
    LayoutChoice choice = {};
    // Expected: the image (none: not tiles), where its layout came from,
    // and for no image, whether `check` warns.
    std::optional<TileImage> image = std::nullopt;
    LayoutSource source = LayoutSource::Size;
    bool fitsNoLayout = false;
};

std::vector<std::uint8_t> zeros(std::size_t n)
{
    return std::vector<std::uint8_t>(n);
}
// An Arduboy sprite: width, height, then its pages.
std::vector<std::uint8_t> sprite(int width, int height)
{
    std::vector<std::uint8_t> bytes(2 + std::size_t(width) * std::size_t((height + 7) / 8), 0x55);
    bytes[0] = std::uint8_t(width), bytes[1] = std::uint8_t(height);
    return bytes;
}

TileImage image(TileLayout layout, int width, int height, int header = 0)
{
    return {layout, width, height, header};
}

constexpr auto Gb = TileLayout::Gb;
constexpr auto Nes = TileLayout::Nes;
constexpr auto Rows = TileLayout::Rows;
constexpr auto Lsb = TileLayout::RowsLsb;
constexpr auto Columns = TileLayout::Columns;
constexpr auto File = LayoutSource::File;
constexpr auto Size = LayoutSource::Size;
constexpr auto Choice = LayoutSource::Choice;

const std::vector<Case> kCases = {
    {"DesignerBanner",
     "/* Format : Gameboy 4 color.\n Compression : None. */\n@",
     "Ship",
     zeros(32),
     {},
     {},
     image(Gb, 8, 16),
     File},
    {"Compressed", "// Compression : RLE\n@", "TileLabel", zeros(32)},
    {"LayoutCommentOnlyForWhatFollows",
     "@\n// layout: nes, 1 tiles\nconst uint8_t b[16];",
     "a_tiles",
     zeros(32),
     {},
     {},
     image(Gb, 8, 16),
     Size},
    {"LayoutComment", "// layout: nes, 2 tiles\n@", "ufo", zeros(32), {}, {}, image(Nes, 8, 16), File},
    {"LayoutCommentMisfit", "// layout: gb, 2 tiles\n@", "ufo", zeros(20), {}, {}, {}, File, true},
    {"PlanarMetadata", "// np:2,pofs:8\n@", "level", zeros(64), {}, {}, image(Nes, 8, 32), File},
    {"PatternTableByName", "@", "CHR", zeros(256), {}, {}, image(Nes, 8, 128), Size},
    {"Xbm",
     "#define ship_width 16 /* pixels */\n#define ship_height 16 // pixels\n@",
     "ship_bits",
     zeros(32),
     {},
     {},
     image(Lsb, 16, 16),
     File},
    {"XbmOddSize",
     "#define ball_width 12\n#define ball_height 10\n@",
     "ball_bits",
     zeros(20),
     {},
     {},
     image(Lsb, 12, 10),
     File},
    {"XbmWrongSize",
     "#define ball_width 16\n#define ball_height 16\n@",
     "ball_bits",
     zeros(24),
     {},
     {},
     {},
     File,
     true},
    {"ArduboyInclude",
     "#include <Arduboy2.h>\n@",
     "player",
     sprite(16, 16),
     {},
     {},
     image(Columns, 16, 16, 2),
     File},
    {"ArduboyCall",
     "@\nvoid f() { Sprites::drawOverwrite(0, 0, walker, 0); }",
     "walker",
     sprite(12, 10),
     {},
     {},
     image(Columns, 12, 10, 2),
     File},
    {"ArduboyHeaderByName", "@", "player_sprite", sprite(8, 8), {}, {}, image(Columns, 8, 8, 2), Size},
    {"ArduboyDrawBitmapIsColumns",
     "#include <Arduboy2.h>\n@\nvoid f() { arduboy.drawBitmap(0, 0, enemy_img); }",
     "enemy_img",
     zeros(16),
     {},
     {},
     image(Columns, 8, 16),
     File},
    {"AdafruitDefines",
     "#include <Adafruit_GFX.h>\n#define LOGO_HEIGHT 16\n#define LOGO_WIDTH  16\n@",
     "logo_bmp",
     zeros(32),
     {},
     {},
     image(Rows, 16, 16),
     File},
    {"AdafruitDefinesAlone",
     "#define LOGO_WIDTH (24)\n@",
     "logo",
     zeros(48),
     {},
     {},
     image(Rows, 24, 16),
     File},
    {"DrawBitmapNamesTheArray",
     "#include <U8g2lib.h>\n@\nu8g2.drawBitmap(0, 0, 2, 16, ufo);",
     "ufo",
     zeros(32),
     {},
     {},
     image(Rows, 8, 32),
     File},
    {"U8g2MeansXbm", "#include <U8g2lib.h>\n@", "icon", zeros(8), {}, {}, image(Lsb, 8, 8), File},
    {"GameBoyInclude", "#include <gb/gb.h>\n@", "hero_tiles", zeros(64), {}, {}, image(Gb, 8, 32), File},
    {"GameBoyIncludeNotForTables", "#include <gbdk/platform.h>\n@", "crc_table", zeros(256)},
    {"CommentedOutInclude",
     "// #include <neslib.h>\n@",
     "hero_tiles",
     zeros(64),
     {},
     {},
     image(Gb, 8, 32),
     Size},
    {"FontRows", "@", "font", zeros(1024), 8, {}, image(Rows, 8, 1024), Size},
    {"InnerSixteen", "@", "Tiles", zeros(64), 16, {}, image(Gb, 8, 32), Size},
    {"PlainTable", "@", "crc_table", zeros(256)},
    {"PictureNameMisfit", "@", "ship_bmp", zeros(13), {}, {}, {}, Size, true},
    {"ChoiceNotTiles", "// layout: gb\n@", "ufo", zeros(32), {}, {std::nullopt, true, {}}, {}, Choice},
    {"ChoiceWithWidth", "@", "data", zeros(32), {}, {Rows, false, 16}, image(Rows, 16, 16), Choice},
    {"ChoiceWidthOnly",
     "#define map_width 8\n@",
     "map_bits",
     zeros(32),
     {},
     {std::nullopt, false, 16},
     image(Lsb, 16, 16),
     File},
    {"ChoiceWidthOverrulesTwoBitGuess",
     "@",
     "ship_img",
     zeros(32),
     {},
     {std::nullopt, false, 16},
     image(Rows, 16, 16),
     Size},
    {"ChoiceMisfit", "@", "data", zeros(20), {}, {Gb, false, {}}, {}, Choice, true},
    {"ChoiceColumnsKeepsHeader",
     "@",
     "boss",
     sprite(16, 8),
     {},
     {Columns, false, {}},
     image(Columns, 16, 8, 2),
     Choice},
};

void PrintTo(const Case& c, std::ostream* out)
{
    *out << c.name;
}

class Detection : public testing::TestWithParam<Case> {};

TEST_P(Detection, Table)
{
    const Case& c = GetParam();
    std::string text = c.text;
    const std::size_t at = text.find('@');
    text.replace(at, 1, "const unsigned char " + c.array + "[] = { 0 };");
    const ByteArray array{c.array, at, c.inner, c.bytes};
    const LayoutDetection found = detectLayout(readFileClues(text), array, c.choice);
    EXPECT_EQ(found.image, c.image);
    if (c.image || c.source == Choice) {
        EXPECT_EQ(found.source, c.source);
    }
    EXPECT_EQ(found.fitsNoLayout, c.fitsNoLayout);
}

INSTANTIATE_TEST_SUITE_P(Files, Detection, testing::ValuesIn(kCases),
                         [](const auto& info) { return info.param.name; });

TEST(Detection, StatusTexts)
{
    EXPECT_EQ(layoutStatusText(Gb, File), "Game Boy (2 bits, interleaved) · from the file's comment");
    EXPECT_EQ(layoutStatusText(Lsb, Size), "1 bit, rows, left bit low (XBM) · guessed from its size");
    EXPECT_EQ(layoutStatusText(Columns, Choice), "1 bit, columns (OLED pages) · your choice");
    EXPECT_EQ(fitsNoLayoutWarning("ship_bmp"), "ship_bmp looks like bitmap data but fits no layout");
}

TEST(LayoutOptions, Parse)
{
    using Parsed = std::variant<LayoutOption, std::string>;
    EXPECT_EQ(parseLayoutOption("nes"), Parsed(LayoutOption{std::nullopt, Nes, std::nullopt}));
    EXPECT_EQ(parseLayoutOption("logo=rows-lsb:24"), Parsed(LayoutOption{"logo", Lsb, 24}));
    EXPECT_EQ(parseLayoutOption("font=rows"), Parsed(LayoutOption{"font", Rows, std::nullopt}));
    EXPECT_EQ(parseLayoutOption("chr"),
              Parsed("unknown layout \"chr\": the layouts are gb, nes, rows, rows-lsb and columns"));
    EXPECT_EQ(parseLayoutOption("a=rows:0"),
              Parsed("--layout a=rows:0: the width \"0\" is not a number of pixels"));
    EXPECT_EQ(parseLayoutOption("a=rows:"),
              Parsed("--layout a=rows:: the width \"\" is not a number of pixels"));
    EXPECT_EQ(parseLayoutOption("=gb"), Parsed("--layout =gb: no array name before \"=\""));

    // The option naming an array beats the one for all, wherever it stands.
    const std::vector<LayoutOption> options = {
        {"a", Rows, 16}, {std::nullopt, Gb, {}}, {std::nullopt, Nes, {}}};
    EXPECT_EQ(choiceFromOptions(options, "a").layout, Rows);
    EXPECT_EQ(choiceFromOptions(options, "a").width, 16);
    EXPECT_EQ(choiceFromOptions(options, "b").layout, Nes);
    EXPECT_EQ(choiceFromOptions({}, "b").layout, std::nullopt);
}

} // namespace
