#include "codegen/encoder.h"
#include "pictures.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace bitloom;
using bitloom::test::gridOf;
using bitloom::test::Picture;

namespace {

std::string eightItems(const char* first, const char* middle, const char* last)
{
    std::string s = std::string(first) + ",";
    for (int i = 0; i < 6; ++i)
        s += std::string(middle) + ",";
    return s + last + ",";
}

const std::string kZeros = eightItems("0x00", "0x00", "0x00");

struct PictureCase {
    const char* label;
    Picture picture;
    std::string light;
    std::string dark;
};

void PrintTo(const PictureCase& c, std::ostream* os) { *os << c.label; }

class EncodePicture : public ::testing::TestWithParam<PictureCase> {};

TEST_P(EncodePicture, BothPlanes)
{
    const auto& c = GetParam();
    const auto planes = encodePlanes(gridOf(c.picture), kPalette);
    EXPECT_EQ(planes.lightString, c.light);
    EXPECT_EQ(planes.darkString, c.dark);
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, EncodePicture,
    ::testing::Values(
        PictureCase{"AllWhite",
                    {"........", "........", "........", "........", "........", "........", "........",
                     "........"},
                    kZeros, kZeros},
        PictureCase{"NeverPainted",
                    {"________", "________", "________", "________", "________", "________", "________",
                     "________"},
                    kZeros, kZeros},
        PictureCase{"AllBlack",
                    {"########", "########", "########", "########", "########", "########", "########",
                     "########"},
                    eightItems("0xFF", "0xFF", "0xFF"), eightItems("0xFF", "0xFF", "0xFF")},
        PictureCase{"TopLeftGrey",
                    {"+.......", "........", "........", "........", "........", "........", "........",
                     "........"},
                    eightItems("0x80", "0x00", "0x00"), kZeros},
        PictureCase{"BottomRightBlack",
                    {"________", "________", "________", "________", "________", "________", "________",
                     "_______#"},
                    eightItems("0x00", "0x00", "0x01"), eightItems("0x00", "0x00", "0x01")},
        PictureCase{"GreyColumnsZeroTwoFiveSevenFromLeft",
                    {"+.+..+.+", "........", "........", "........", "........", "........", "........",
                     "........"},
                    eightItems("0xA5", "0x00", "0x00"), kZeros},
        PictureCase{"DarkGreyNeverSetsLight",
                    {"oooooooo", "oooooooo", "oooooooo", "oooooooo", "oooooooo", "oooooooo", "oooooooo",
                     "oooooooo"},
                    kZeros, eightItems("0xFF", "0xFF", "0xFF")},
        PictureCase{"GreyNeverSetsDark",
                    {"++++++++", "++++++++", "++++++++", "++++++++", "++++++++", "++++++++", "++++++++",
                     "++++++++"},
                    eightItems("0xFF", "0xFF", "0xFF"), kZeros},
        PictureCase{"MixedRowsDigitsAndLetters",
                    {"...++...", "..+##+..", ".o####o.", "oooooooo", "#.......", "....####", "#o+.#o+.",
                     "_______."},
                    "0x18,0x3C,0x3C,0x00,0x80,0x0F,0xAA,0x00,",
                    "0x00,0x18,0x7E,0xFF,0x80,0x0F,0xCC,0x00,"}),
    [](const auto& info) { return std::string(info.param.label); });

// Every cell in every shade: cell k sets only bit k % 8 of byte k / 8, the
// light bit for codes 1 and 3, the dark bit for codes 2 and 3.
TEST(EncodePlane, EachCellOwnsOneBit)
{
    for (int cell = 0; cell < kCellCount; ++cell) {
        for (int code = 0; code < kPaletteSize; ++code) {
            Grid grid = initialGrid();
            grid[static_cast<std::size_t>(cell)] = kPalette[static_cast<std::size_t>(code)];
            for (const bool lightPlane : {true, false}) {
                const bool set = lightPlane ? (code & 1) : (code & 2);
                std::string expected;
                for (int row = 0; row < kGridSide; ++row) {
                    const int byte = (set && row == cell / 8) ? 1 << (cell % 8) : 0;
                    char item[8];
                    std::snprintf(item, sizeof item, "0x%02X,", byte);
                    expected += item;
                }
                const auto actual = lightPlane ? encodePlane(kLightSetA, kLightSetB, grid, kPalette)
                                               : encodePlane(kDarkSetA, kDarkSetB, grid, kPalette);
                ASSERT_EQ(actual, expected) << "cell " << cell << " code " << code;
            }
        }
    }
}

// The bits follow the colours of the palette it is given, compared exactly.
TEST(EncodePlane, ComparesWithTheGivenPalette)
{
    const Palette reddish = {0x000000FFu, 0x00000080u, 0x00000040u, 0x00000001u};
    Grid grid = gridOf({"#+o.....", "........", "........", "........", "........", "........", "........",
                        "........"});
    EXPECT_EQ(encodePlane(1, 3, grid, reddish), kZeros) << "standard colours are not this palette's";

    grid[7] = reddish[3];
    grid[6] = reddish[1];
    grid[5] = 0x00000002u; // near the palette's black, but not equal
    EXPECT_EQ(encodePlane(1, 3, grid, reddish), eightItems("0xC0", "0x00", "0x00"));
    EXPECT_EQ(encodePlane(2, 3, grid, reddish), eightItems("0x80", "0x00", "0x00"));
}

} // namespace
