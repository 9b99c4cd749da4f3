// Headers written from drawings: golden files per layout and style, the
// round trip back through the reader, and the names and guards they get.
#include "codegen/arrayimport.h"
#include "codegen/arraywriter.h"
#include "codegen/headersprites.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace bitloom {
namespace {

std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << path;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Each folder of tests/core/convert holds a header in.h and the headers
// written from it, one per file "LAYOUT-STYLE.h", under the folder's name.
// A new case is a new folder or a new file.
TEST(ArrayWriter, GoldenFiles)
{
    int compared = 0;
    for (const auto& folder : std::filesystem::directory_iterator(BITLOOM_TEST_CONVERT)) {
        const std::string input = readFile(folder.path() / "in.h");
        const std::string arrayName = folder.path().filename().string();
        for (const auto& file : std::filesystem::directory_iterator(folder.path())) {
            const std::string fileName = file.path().filename().string();
            if (fileName == "in.h")
                continue;
            SCOPED_TRACE(arrayName + "/" + fileName);
            const std::string stem = file.path().stem().string();
            const std::size_t dash = stem.rfind('-');
            ASSERT_NE(dash, std::string::npos);
            OutputLayout layout;
            ASSERT_TRUE(parseOutputLayoutId(stem.substr(0, dash), layout));
            const auto style = parseStyleId(stem.substr(dash + 1));
            ASSERT_TRUE(style);
            const WrittenHeader written =
                writeHeader(headerDrawings(input), {layout, arrayName, *style, fileName});
            EXPECT_EQ(written.text, readFile(file.path()));
            ++compared;
        }
    }
    EXPECT_GE(compared, 18);
}

Shades randomDrawing(std::mt19937& random)
{
    Shades shades{};
    for (Cell& shade : shades)
        shade = shadeOfCode(int(random() % 4));
    return shades;
}

// What a one-bit layout keeps of a drawing: white and grey are white, dark
// grey and black are black.
Shades twoShades(Shades shades)
{
    for (Cell& shade : shades)
        shade = codeOf(shade) >= 2 ? Cell::Black : Cell::White;
    return shades;
}

// Random drawings written in every layout and style read back as they were
// (one-bit layouts: in two shades), in order, with the drawings whose greys
// were mapped named; and an array written again from what was read is the
// same text.
TEST(ArrayWriter, RoundTripsThroughTheReader)
{
    std::mt19937 random(7);
    for (int round = 0; round < 20; ++round) {
        std::vector<SourceDrawing> drawings;
        const int count = 1 + int(random() % 12);
        for (int i = 0; i < count; ++i) {
            drawings.push_back({"s" + std::to_string(i), randomDrawing(random), {}});
            if (random() % 3 == 0)
                drawings.back().shades = twoShades(drawings.back().shades);
        }
        std::vector<OutputLayout> layouts{std::nullopt};
        layouts.insert(layouts.end(), kTileLayouts.begin(), kTileLayouts.end());
        for (const OutputLayout& layout : layouts) {
            for (const ArrayStyle style : {ArrayStyle::Own, ArrayStyle::Const, ArrayStyle::Progmem}) {
                SCOPED_TRACE(std::string(outputLayoutId(layout)) + " " + std::string(styleId(style)));
                const WrittenHeader written = writeHeader(drawings, {layout, "tiles", style, "tiles.h"});
                const std::vector<SourceDrawing> read = headerDrawings(written.text);
                ASSERT_EQ(read.size(), drawings.size());
                std::vector<std::string> mapped;
                for (std::size_t i = 0; i < read.size(); ++i) {
                    const bool oneBit = layout && isOneBit(*layout);
                    const Shades expected = oneBit ? twoShades(drawings[i].shades) : drawings[i].shades;
                    EXPECT_EQ(read[i].shades, expected) << i;
                    if (oneBit && expected != drawings[i].shades)
                        mapped.push_back(drawings[i].name);
                    // Pairs keep the names, tiles the comments naming their sources.
                    EXPECT_EQ(read[i].name, layout ? "tiles[" + std::to_string(i) + "]" : drawings[i].name);
                    EXPECT_EQ(read[i].comment(), drawings[i].name);
                }
                EXPECT_EQ(written.mappedSprites, mapped);
                EXPECT_EQ(writeHeader(read, {layout, "tiles", style, "tiles.h"}).text, written.text);
            }
        }
    }
}

TEST(ArrayWriter, PairNames)
{
    const struct {
        std::vector<std::string> sources;
        std::vector<std::string> names;
    } cases[] = {
        {{"ufo[3]", "ufo[4]", "hero"}, {"ufo_3", "ufo_4", "hero"}},
        // A sprite keeps its name wherever it stands; the tile gives way.
        {{"ufo[3]", "ufo_3", "ufo_3_2"}, {"ufo_3_3", "ufo_3", "ufo_3_2"}},
        {{"ufo_3", "ufo[3]", "ufo[3]"}, {"ufo_3", "ufo_3_2", "ufo_3_3"}},
        // A name picked twice is written twice, the second time renamed.
        {{"hero", "hero"}, {"hero", "hero_2"}},
        // Not a tile name: kept as it is.
        {{"ufo[03]", "a b"}, {"ufo[03]", "a b"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(pairNames(c.sources), c.names) << c.sources.front();
}

TEST(ArrayWriter, GuardsAndIdentifiers)
{
    const std::pair<const char*, const char*> guards[] = {
        {"tiles.h", "TILES_H"}, {"game-tiles.hpp", "GAME_TILES_HPP"}, {"8x8 font.h", "H_8X8_FONT_H"},
        {"_x.h", "H__X_H"},     {"\xc3\xa9t\xc3\xa9.h", "H__T__H"},   {"", "H_"},
    };
    for (const auto& [file, guard] : guards)
        EXPECT_EQ(includeGuard(file), guard) << file;
    const std::pair<const char*, const char*> identifiers[] = {
        {"tiles", "tiles"}, {"game tiles", "game_tiles"}, {"8x8", "_x8"}, {"int", "int_"}, {"", "_"},
    };
    for (const auto& [stem, identifier] : identifiers)
        EXPECT_EQ(identifierFromStem(stem), identifier) << stem;
}

TEST(ArrayWriter, CommentsStayOnTheirLine)
{
    const WrittenHeader written =
        writeHeader({{"a\nb\\", Shades{}, {}}}, {TileLayout::Rows, "t", ArrayStyle::Const, "t.h"});
    EXPECT_NE(written.text.find(", // a b\n};"), std::string::npos) << written.text;
}

TEST(ArrayWriter, PicksInOrderAndWholeArrays)
{
    const std::vector<SourceDrawing> all{{"hero", {}, {}}, {"ufo[0]", {}, {}}, {"ufo[1]", {}, {}}};
    const auto names = [](const auto& picked) {
        std::vector<std::string> out;
        for (const SourceDrawing& d : std::get<std::vector<SourceDrawing>>(picked))
            out.push_back(d.name);
        return out;
    };
    EXPECT_EQ(names(pickDrawings(all, {})), (std::vector<std::string>{"hero", "ufo[0]", "ufo[1]"}));
    EXPECT_EQ(names(pickDrawings(all, {"ufo[1]", "hero"})), (std::vector<std::string>{"ufo[1]", "hero"}));
    EXPECT_EQ(names(pickDrawings(all, {"ufo", "ufo[0]"})),
              (std::vector<std::string>{"ufo[0]", "ufo[1]", "ufo[0]"}));
    EXPECT_EQ(std::get<UnknownPick>(pickDrawings(all, {"hero", "ufo[2]"})).name, "ufo[2]");
}

} // namespace
} // namespace bitloom

namespace bitloom {
namespace {

// Arrays the file says nothing about are tiles only as --layout NAME=ID says.
TEST(HeaderDrawings, ArraysReadAsTheOptionsSay)
{
    const std::string text =
        "const uint8_t data[] = {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81, 1, // x\n"
        "    2, 3, 4, 5, 6, 7, 8};\n";
    EXPECT_TRUE(headerDrawings(text).empty());
    const std::vector<SourceDrawing> tiles =
        headerDrawings(text, {LayoutOption{"data", TileLayout::Rows, {}}});
    ASSERT_EQ(tiles.size(), 2u);
    EXPECT_EQ(tiles[0].name, "data[0]");
    EXPECT_EQ(tiles[1].name, "data[1]");
    // Two tiles' bytes share the first line: its comment labels neither.
    EXPECT_EQ(tiles[0].label, "");
    EXPECT_EQ(tiles[0].shades,
              decodeTile(TileLayout::Rows,
                         std::vector<std::uint8_t>{0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81}));
    EXPECT_EQ(headerDrawings(text, {LayoutOption{std::nullopt, TileLayout::Gb, {}}}).size(), 1u);
}

} // namespace
} // namespace bitloom

namespace bitloom {
namespace {

// Random drawings imported over an array of as many tiles read back as
// they were drawn (two shades in one-bit layouts), and the text changes
// only in the array's numbers.
TEST(ArrayImport, RewritesTheArraysNumbersOnly)
{
    std::mt19937 random(11);
    for (const TileLayout layout : kTileLayouts) {
        for (int round = 0; round < 5; ++round) {
            const int count = 1 + int(random() % 6);
            std::vector<SourceDrawing> before, after;
            for (int i = 0; i < count; ++i) {
                before.push_back({"b" + std::to_string(i), randomDrawing(random), {}});
                after.push_back({"a" + std::to_string(i), randomDrawing(random), {}});
            }
            std::string text = writeHeader(before, {layout, "tiles", ArrayStyle::Progmem, "t.h"}).text;
            const std::string original = text;
            const ArrayImport import = importIntoArray(text, "tiles", layout, after);
            ASSERT_EQ(import.outcome, ArrayImport::Outcome::Rewritten);
            applyEdit(text, import.edit);
            const std::vector<SourceDrawing> read = headerDrawings(text);
            ASSERT_EQ(read.size(), after.size());
            for (std::size_t i = 0; i < read.size(); ++i)
                EXPECT_EQ(read[i].shades, isOneBit(layout) ? twoShades(after[i].shades) : after[i].shades);
            EXPECT_EQ(text.size(), original.size()); // every number is "0x" and two digits
            for (std::size_t at = 0; at < text.size(); ++at) {
                if (text[at] != original[at]) {
                    ASSERT_TRUE(std::isxdigit(static_cast<unsigned char>(text[at]))) << at;
                }
            }
            after.pop_back();
            const ArrayImport fewer = importIntoArray(original, "tiles", layout, after);
            EXPECT_EQ(fewer.outcome, ArrayImport::Outcome::CountDiffers);
            EXPECT_EQ(fewer.arrayTiles, count);
        }
    }
}

} // namespace
} // namespace bitloom
