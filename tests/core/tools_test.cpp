#include "document/document.h"
#include "model/layout.h"

#include <gtest/gtest.h>

using namespace bitloom;

namespace {

const std::string kEmptySprite =
    "\nstatic unsigned char Spritelight[]={0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00};"
    "\nstatic unsigned char Spritedark[]={0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00};";

// The editing rules of the grid and the tools, driven through the document.
class Editing : public ::testing::Test {
protected:
    Colour cell(int k) const { return doc.grid()[static_cast<std::size_t>(k)]; }
    void openPopup() { doc.press(0, MouseButton::Right, 0, 0); }
    const ToolState& tools() const { return doc.tools(); }

    Document doc;
};

TEST_F(Editing, PressesPaintAndGenerateUnlessThePopupIsShown)
{
    doc.selectColour(3);
    doc.press(7, MouseButton::Left, 10, 10);
    doc.selectColour(2);
    doc.press(8, MouseButton::Middle, 0, 0);
    EXPECT_EQ(cell(7), kPalette[3]);
    EXPECT_EQ(cell(8), kPalette[2]);
    EXPECT_TRUE(doc.code().starts_with("\nstatic unsigned char Spritelight[]={0x80,0x00,")) << doc.code();

    doc.press(3, MouseButton::Right, 5, 5);
    const float left = tools().toolPopupLeft();
    const std::string text = doc.code();
    for (const auto button : {MouseButton::Left, MouseButton::Middle, MouseButton::Right})
        doc.press(60, button, 40, 40);
    EXPECT_EQ(cell(60), kInitialCellColour);
    EXPECT_EQ(tools().toolPopupLeft(), left);
    EXPECT_EQ(doc.code(), text);

    // Clear Tile does not look at the pop-up.
    doc.clearTile();
    EXPECT_EQ(cell(60), kPalette[0]);
    EXPECT_EQ(doc.code(), kEmptySprite);
}

TEST_F(Editing, OnlyTheBrushPaintsOnMovementAndMovesNeverGenerate)
{
    doc.selectColour(1);
    doc.moveOver(5); // no tool chosen yet
    openPopup();
    doc.choosePen();
    doc.moveOver(5);
    EXPECT_EQ(cell(5), kInitialCellColour);

    openPopup();
    doc.chooseBrush();
    const std::string text = doc.code();
    doc.moveOver(5);
    EXPECT_EQ(cell(5), kPalette[1]);
    EXPECT_EQ(doc.code(), text);
}

struct RightPress {
    int cell;
    float x, y, left, top;
};

class EditingRightPress : public Editing, public ::testing::WithParamInterface<RightPress> {};

TEST_P(EditingRightPress, OpensThePopupAtThePointer)
{
    const auto& p = GetParam();
    doc.hoverPen();
    doc.press(p.cell, MouseButton::Right, p.x, p.y);
    EXPECT_TRUE(tools().toolPopupVisible());
    EXPECT_EQ(tools().toolPopupLeft(), p.left);
    EXPECT_EQ(tools().toolPopupTop(), p.top);
    EXPECT_EQ(tools().penBorder(), Border::None);
    EXPECT_EQ(tools().brushBorder(), Border::None);
    EXPECT_EQ(doc.grid(), initialGrid());
    EXPECT_EQ(doc.code(), kEmptySprite) << "a right press still regenerates";
}

INSTANTIATE_TEST_SUITE_P(Cells, EditingRightPress,
                         ::testing::Values(RightPress{0, 0, 0, 3480, 120},
                                           RightPress{7, 12.5f, 30.25f, 132.5f, 150.25f},
                                           RightPress{19, 100, 200, 2140, 1280},
                                           RightPress{56, 494, 494, 3974, 3974}),
                         [](const auto& info) { return "Cell" + std::to_string(info.param.cell); });

TEST_F(Editing, ToolsAndTheirHighlights)
{
    openPopup();
    doc.hoverBrush();
    EXPECT_EQ(std::pair(tools().penBorder(), tools().brushBorder()), std::pair(Border::None, Border::Single));
    doc.hoverPen();
    EXPECT_EQ(std::pair(tools().penBorder(), tools().brushBorder()), std::pair(Border::Single, Border::None));
    doc.choosePen();
    EXPECT_FALSE(tools().toolPopupVisible());
    EXPECT_EQ(doc.tool(), Tool::Pen);
    EXPECT_EQ(tools().penBorder(), Border::Single) << "choosing keeps the borders";
}

TEST_F(Editing, MarkerStepsFiveHundredPerPaletteCell)
{
    for (const int i : {3, 1, 2, 0}) {
        doc.selectColour(i);
        EXPECT_EQ(doc.colour(), i);
        EXPECT_EQ(tools().markerTop(), 360 + 500 * i); // 360, 860, 1360, 1860
        EXPECT_EQ(tools().markerTop() - layout::paletteCellRect(i).top, 20 * i);
    }
    EXPECT_EQ(doc.grid(), initialGrid());
    EXPECT_EQ(doc.code(), "") << "choosing a colour never generates";
}

TEST(ToolState, ResetToolsPutsBackOnlyTheColour)
{
    ToolState tools;
    tools.selectColour(2);
    tools.openToolPopup(0, 0, 0);
    tools.chooseBrush();
    tools.resetTools();
    EXPECT_EQ(tools.colour(), 0);
    EXPECT_EQ(tools.tool(), Tool::Brush);
    EXPECT_EQ(tools.markerTop(), 1360);
}

} // namespace
