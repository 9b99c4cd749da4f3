#include "codegen/encoder.h"
#include "pictures.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace bitloom;
using bitloom::test::filledGrid;
using bitloom::test::gridOf;

namespace {

// Eight items "0xHH,", the first and last given, the six between them 0x00.
std::string items(const char* first, const char* last, const char* between = "0x00")
{
    std::string s = std::string(first) + ",";
    for (int i = 0; i < 6; ++i)
        s += std::string(between) + ",";
    return s + last + ",";
}

struct EncodeCase {
    const char* label;
    Grid grid;
    std::string light, dark;
};

class Encode : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(Encode, BothPlanes)
{
    const auto planes = encodePlanes(GetParam().grid, kPalette);
    EXPECT_EQ(planes.lightString, GetParam().light);
    EXPECT_EQ(planes.darkString, GetParam().dark);
}

const std::string kZeros = items("0x00", "0x00");
const std::string kOnes = items("0xFF", "0xFF", "0xFF");

INSTANTIATE_TEST_SUITE_P(
    Grids, Encode,
    ::testing::Values(EncodeCase{"AllWhite", filledGrid(kPalette[0]), kZeros, kZeros},
                      EncodeCase{"NeverPainted", initialGrid(), kZeros, kZeros},
                      EncodeCase{"AllBlack", filledGrid(kPalette[3]), kOnes, kOnes},
                      EncodeCase{"AllGreyNoDarkBit", filledGrid(kPalette[1]), kOnes, kZeros},
                      EncodeCase{"AllDarkGreyNoLightBit", filledGrid(kPalette[2]), kZeros, kOnes},
                      EncodeCase{"TopLeftGrey",
                                 gridOf({"+.......", "........", "........", "........", "........",
                                         "........", "........", "........"}),
                                 items("0x80", "0x00"), kZeros},
                      EncodeCase{"BottomRightBlack",
                                 gridOf({"________", "________", "________", "________", "________",
                                         "________", "________", "_______#"}),
                                 items("0x00", "0x01"), items("0x00", "0x01")},
                      EncodeCase{"GreyInColumnsZeroTwoFiveSeven",
                                 gridOf({"+.+..+.+", "........", "........", "........", "........",
                                         "........", "........", "........"}),
                                 items("0xA5", "0x00"), kZeros},
                      EncodeCase{"EveryShadeMixed",
                                 gridOf({"...++...", "..+##+..", ".o####o.", "oooooooo", "#.......",
                                         "....####", "#o+.#o+.", "_______."}),
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
            for (const Shade plane : {1, 2}) {
                std::string expected;
                for (int row = 0; row < kGridSide; ++row) {
                    char item[8];
                    const int byte = (code & plane) && row == cell / 8 ? 1 << cell % 8 : 0;
                    std::snprintf(item, sizeof item, "0x%02X,", byte);
                    expected += item;
                }
                ASSERT_EQ(encodePlane(plane, 3, grid, kPalette), expected)
                    << "cell " << cell << " code " << code;
            }
        }
    }
}

// Bits follow the colours of the palette passed in, compared exactly.
TEST(EncodePlane, UsesTheGivenPalette)
{
    const Palette other = {0x000000FFu, 0x00000080u, 0x00000040u, 0x00000001u};
    Grid grid = filledGrid(kPalette[3]);
    grid[7] = other[3];
    grid[6] = other[1];
    grid[5] = 0x00000002u; // one off the palette's black
    EXPECT_EQ(encodePlane(1, 3, grid, other), items("0xC0", "0x00"));
    EXPECT_EQ(encodePlane(2, 3, grid, other), items("0x80", "0x00"));
}

} // namespace
