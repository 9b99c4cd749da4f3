#include "codegen/generate.h"
#include "codegen/plainpanes.h"
#include "model/editormodel.h"
#include "model/layout.h"

#include <gtest/gtest.h>

using namespace bitloom;

namespace {

class Editor : public ::testing::Test {
protected:
    Editor()
    {
        model.setGenerate([this] {
            ++generated;
            generate(model.grid(), model.palette(), model.module(), names, pane);
        });
    }
    Colour cell(int k) const { return model.grid()[static_cast<std::size_t>(k)]; }
    void openPopup() { model.press(0, MouseButton::Right, 0, 0); }

    EditorModel model;
    PlainNameBox names{"Sprite"};
    PlainCodePane pane;
    int generated = 0;
};

TEST_F(Editor, PressesPaintAndGenerateUnlessThePopupIsShown)
{
    model.selectColour(3);
    model.press(7, MouseButton::Left, 10, 10);
    model.selectColour(2);
    model.press(8, MouseButton::Middle, 0, 0);
    EXPECT_EQ(cell(7), kPalette[3]);
    EXPECT_EQ(cell(8), kPalette[2]);
    EXPECT_EQ(generated, 2);
    EXPECT_TRUE(pane.text().starts_with("\nstatic unsigned char Spritelight[]={0x80,0x00,")) << pane.text();

    model.press(3, MouseButton::Right, 5, 5);
    const float left = model.toolPopupLeft();
    const std::string text = pane.text();
    for (const auto button : {MouseButton::Left, MouseButton::Middle, MouseButton::Right})
        model.press(60, button, 40, 40);
    EXPECT_EQ(cell(60), kInitialCellColour);
    EXPECT_EQ(model.toolPopupLeft(), left);
    EXPECT_EQ(generated, 3);
    EXPECT_EQ(pane.text(), text);

    // Clear Tile does not look at the pop-up.
    model.clearTile();
    EXPECT_EQ(cell(60), kPalette[0]);
    EXPECT_EQ(generated, 4);
    EXPECT_EQ(pane.text(), "\nstatic unsigned char Spritelight[]={0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00};"
                           "\nstatic unsigned char Spritedark[]={0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00};");
}

TEST_F(Editor, OnlyTheBrushPaintsOnMovementAndMovesNeverGenerate)
{
    model.selectColour(1);
    model.moveOver(5); // no tool chosen yet
    openPopup();
    model.choosePen();
    model.moveOver(5);
    EXPECT_EQ(cell(5), kInitialCellColour);

    openPopup();
    model.chooseBrush();
    const std::string text = pane.text();
    model.moveOver(5);
    EXPECT_EQ(cell(5), kPalette[1]);
    EXPECT_EQ(generated, 2);
    EXPECT_EQ(pane.text(), text);
}

struct RightPress {
    int cell;
    float x, y, left, top;
};

class EditorRightPress : public Editor, public ::testing::WithParamInterface<RightPress> {};

TEST_P(EditorRightPress, OpensThePopupAtThePointer)
{
    const auto& p = GetParam();
    model.hoverPen();
    model.press(p.cell, MouseButton::Right, p.x, p.y);
    EXPECT_TRUE(model.toolPopupVisible());
    EXPECT_EQ(model.toolPopupLeft(), p.left);
    EXPECT_EQ(model.toolPopupTop(), p.top);
    EXPECT_EQ(model.penBorder(), Border::None);
    EXPECT_EQ(model.brushBorder(), Border::None);
    EXPECT_EQ(model.grid(), initialGrid());
    EXPECT_EQ(generated, 1) << "a right press still regenerates";
}

INSTANTIATE_TEST_SUITE_P(Cells, EditorRightPress,
                         ::testing::Values(RightPress{0, 0, 0, 3480, 120},
                                           RightPress{7, 12.5f, 30.25f, 132.5f, 150.25f},
                                           RightPress{19, 100, 200, 2140, 1280},
                                           RightPress{56, 494, 494, 3974, 3974}),
                         [](const auto& info) { return "Cell" + std::to_string(info.param.cell); });

TEST_F(Editor, ToolsAndTheirHighlights)
{
    openPopup();
    model.hoverBrush();
    EXPECT_EQ(std::pair(model.penBorder(), model.brushBorder()), std::pair(Border::None, Border::Single));
    model.hoverPen();
    EXPECT_EQ(std::pair(model.penBorder(), model.brushBorder()), std::pair(Border::Single, Border::None));
    model.choosePen();
    EXPECT_FALSE(model.toolPopupVisible());
    EXPECT_EQ(model.module().selTool, Tool::Pen);
    EXPECT_EQ(model.penBorder(), Border::Single) << "choosing keeps the borders";
}

TEST_F(Editor, MarkerStepsFiveHundredAndFormLoadResetsOnlyTheColour)
{
    for (const int i : {3, 1, 2, 0}) {
        model.selectColour(i);
        EXPECT_EQ(model.module().selColor, i);
        EXPECT_EQ(model.markerTop(), 360 + 500 * i); // 360, 860, 1360, 1860
        EXPECT_EQ(model.markerTop() - layout::paletteCellRect(i).top, 20 * i);
    }
    EXPECT_EQ(generated, 0);
    EXPECT_EQ(model.grid(), initialGrid());

    model.selectColour(2);
    openPopup();
    model.chooseBrush();
    model.resetTools();
    EXPECT_EQ(model.module().selColor, 0);
    EXPECT_EQ(model.module().selTool, Tool::Brush);
    EXPECT_EQ(model.markerTop(), 1360);
    EXPECT_EQ(generated, 1);
}

} // namespace
