#include "document/document.h"

#include <gtest/gtest.h>

using namespace bitloom;

namespace {

const std::string kEmptySprite =
    "\nstatic unsigned char Spritelight[]={0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00};"
    "\nstatic unsigned char Spritedark[]={0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00};";

// The editing rules of the grid and the tools, driven through the document.
class Editing : public ::testing::Test {
protected:
    Cell cell(int k) const { return doc.grid()[static_cast<std::size_t>(k)]; }
    void openPopup() { doc.press(0, MouseButton::Right); }
    const ToolState& tools() const { return doc.tools(); }

    Document doc;
};

TEST_F(Editing, PressesPaintAndGenerateUnlessThePopupIsShown)
{
    doc.selectColour(3);
    doc.press(7, MouseButton::Left);
    doc.selectColour(2);
    doc.press(8, MouseButton::Middle);
    EXPECT_EQ(cell(7), Cell::Black);
    EXPECT_EQ(cell(8), Cell::DarkGrey);
    EXPECT_TRUE(doc.code().starts_with("\nstatic unsigned char Spritelight[]={0x80,0x00,")) << doc.code();

    doc.press(3, MouseButton::Right);
    const std::string text = doc.code();
    for (const auto button : {MouseButton::Left, MouseButton::Middle, MouseButton::Right})
        doc.press(60, button);
    EXPECT_EQ(cell(60), Cell::Unpainted);
    EXPECT_TRUE(tools().toolPopupVisible());
    EXPECT_EQ(doc.code(), text);

    // Clear Tile does not look at the pop-up.
    doc.clearTile();
    EXPECT_EQ(cell(60), Cell::White);
    EXPECT_EQ(doc.code(), kEmptySprite);
}

TEST_F(Editing, OnlyTheBrushPaintsOnMovementAndMovesNeverGenerate)
{
    doc.selectColour(1);
    doc.moveOver(5); // no tool chosen yet
    openPopup();
    doc.choosePen();
    doc.moveOver(5);
    EXPECT_EQ(cell(5), Cell::Unpainted);

    openPopup();
    doc.chooseBrush();
    const std::string text = doc.code();
    doc.moveOver(5);
    EXPECT_EQ(cell(5), Cell::Grey);
    EXPECT_EQ(doc.code(), text);
}

TEST_F(Editing, ARightPressOpensThePopupAndStillRegenerates)
{
    doc.press(19, MouseButton::Right);
    EXPECT_TRUE(tools().toolPopupVisible());
    EXPECT_EQ(doc.grid(), initialGrid());
    EXPECT_EQ(doc.code(), kEmptySprite);
    doc.choosePen();
    EXPECT_FALSE(tools().toolPopupVisible());
    EXPECT_EQ(doc.tool(), Tool::Pen);
}

TEST_F(Editing, ChoosingAColourNeverGenerates)
{
    for (const int i : {3, 1, 2, 0}) {
        doc.selectColour(i);
        EXPECT_EQ(doc.colour(), shadeOfCode(i));
    }
    EXPECT_EQ(doc.grid(), initialGrid());
    EXPECT_EQ(doc.code(), "") << "choosing a colour never generates";
}

TEST(ToolState, ResetToolsPutsBackOnlyTheColour)
{
    ToolState tools;
    tools.selectColour(2);
    tools.openToolPopup();
    tools.chooseBrush();
    tools.resetTools();
    EXPECT_EQ(tools.colour(), Cell::White);
    EXPECT_EQ(tools.tool(), Tool::Brush);
}

} // namespace
