#include "codegen/encoder.h"
#include "pictures.h"

#include <gtest/gtest.h>

using namespace bitloom;
using bitloom::test::filledGrid;
using bitloom::test::gridOf;

namespace {

// Eight row bytes, the first and last given, the six between them alike.
PlaneBytes rows(std::uint8_t first, std::uint8_t last, std::uint8_t between = 0)
{
    PlaneBytes bytes;
    bytes.fill(between);
    bytes.front() = first;
    bytes.back() = last;
    return bytes;
}

struct EncodeCase {
    const char* label;
    Grid grid;
    PlaneBytes light, dark;
};

class Encode : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(Encode, BothPlanes)
{
    EXPECT_EQ(encodePlane(GetParam().grid, Plane::Light), GetParam().light);
    EXPECT_EQ(encodePlane(GetParam().grid, Plane::Dark), GetParam().dark);
}

const PlaneBytes kZeros{};
const PlaneBytes kOnes = rows(0xFF, 0xFF, 0xFF);

INSTANTIATE_TEST_SUITE_P(
    Grids, Encode,
    ::testing::Values(EncodeCase{"AllWhite", filledGrid(Cell::White), kZeros, kZeros},
                      EncodeCase{"NeverPainted", initialGrid(), kZeros, kZeros},
                      EncodeCase{"AllBlack", filledGrid(Cell::Black), kOnes, kOnes},
                      EncodeCase{"AllGreyNoDarkBit", filledGrid(Cell::Grey), kOnes, kZeros},
                      EncodeCase{"AllDarkGreyNoLightBit", filledGrid(Cell::DarkGrey), kZeros, kOnes},
                      EncodeCase{"TopLeftGrey",
                                 gridOf({"+.......", "........", "........", "........", "........",
                                         "........", "........", "........"}),
                                 rows(0x80, 0x00), kZeros},
                      EncodeCase{"BottomRightBlack",
                                 gridOf({"________", "________", "________", "________", "________",
                                         "________", "________", "_______#"}),
                                 rows(0x00, 0x01), rows(0x00, 0x01)},
                      EncodeCase{"GreyInColumnsZeroTwoFiveSeven",
                                 gridOf({"+.+..+.+", "........", "........", "........", "........",
                                         "........", "........", "........"}),
                                 rows(0xA5, 0x00), kZeros},
                      EncodeCase{"EveryShadeMixed",
                                 gridOf({"...++...", "..+##+..", ".o####o.", "oooooooo", "#.......",
                                         "....####", "#o+.#o+.", "_______."}),
                                 PlaneBytes{0x18, 0x3C, 0x3C, 0x00, 0x80, 0x0F, 0xAA, 0x00},
                                 PlaneBytes{0x00, 0x18, 0x7E, 0xFF, 0x80, 0x0F, 0xCC, 0x00}}),
    [](const auto& info) { return std::string(info.param.label); });

// Every cell in every state: cell k sets only bit k % 8 of byte k / 8, the
// light bit for grey and black, the dark bit for dark grey and black, and an
// unpainted cell sets none.
TEST(EncodePlane, EachCellOwnsOneBit)
{
    for (int cell = 0; cell < kCellCount; ++cell) {
        for (int code = 0; code <= kShadeCount; ++code) {
            Grid grid = initialGrid();
            grid[static_cast<std::size_t>(cell)] = Cell(code);
            for (const Plane plane : {Plane::Light, Plane::Dark}) {
                const int planeBit = plane == Plane::Light ? 1 : 2;
                PlaneBytes expected{};
                if (code < kShadeCount && (code & planeBit))
                    expected[static_cast<std::size_t>(cell / 8)] = std::uint8_t(1 << cell % 8);
                ASSERT_EQ(encodePlane(grid, plane), expected) << "cell " << cell << " code " << code;
            }
        }
    }
}

} // namespace
