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
    void openPopup() { model.pixel_MouseDown(0, MouseButton::Right, 0, 0); }

    EditorModel model;
    PlainNameBox names{"Sprite"};
    PlainCodePane pane;
    int generated = 0;
};

TEST_F(Editor, PressesPaintAndGenerateUnlessThePopupIsShown)
{
    model.renk_Click(3);
    model.pixel_MouseDown(7, MouseButton::Left, 10, 10);
    model.renk_Click(2);
    model.pixel_MouseDown(8, MouseButton::Middle, 0, 0);
    EXPECT_EQ(cell(7), kPalette[3]);
    EXPECT_EQ(cell(8), kPalette[2]);
    EXPECT_EQ(generated, 2);
    EXPECT_TRUE(pane.text().starts_with("\nstatic unsigned char Spritelight[]={0x80,0x00,")) << pane.text();

    model.pixel_MouseDown(3, MouseButton::Right, 5, 5);
    const float left = model.toolsLeft();
    const std::string text = pane.text();
    for (const auto button : {MouseButton::Left, MouseButton::Middle, MouseButton::Right})
        model.pixel_MouseDown(60, button, 40, 40);
    EXPECT_EQ(cell(60), kInitialCellColour);
    EXPECT_EQ(model.toolsLeft(), left);
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
    model.renk_Click(1);
    model.pixel_MouseMove(5); // no tool chosen yet
    openPopup();
    model.kalem_Click();
    model.pixel_MouseMove(5);
    EXPECT_EQ(cell(5), kInitialCellColour);

    openPopup();
    model.boya_Click();
    const std::string text = pane.text();
    model.pixel_MouseMove(5);
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
    model.kalem_MouseMove();
    model.pixel_MouseDown(p.cell, MouseButton::Right, p.x, p.y);
    EXPECT_TRUE(model.toolsVisible());
    EXPECT_EQ(model.toolsLeft(), p.left);
    EXPECT_EQ(model.toolsTop(), p.top);
    EXPECT_EQ(model.kalemBorder(), Border::None);
    EXPECT_EQ(model.boyaBorder(), Border::None);
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
    model.boya_MouseMove();
    EXPECT_EQ(std::pair(model.kalemBorder(), model.boyaBorder()), std::pair(Border::None, Border::Single));
    model.kalem_MouseMove();
    EXPECT_EQ(std::pair(model.kalemBorder(), model.boyaBorder()), std::pair(Border::Single, Border::None));
    model.kalem_Click();
    EXPECT_FALSE(model.toolsVisible());
    EXPECT_EQ(model.module().selTool, Tool::Pen);
    EXPECT_EQ(model.kalemBorder(), Border::Single) << "choosing keeps the borders";
}

TEST_F(Editor, MarkerStepsFiveHundredAndFormLoadResetsOnlyTheColour)
{
    for (const int i : {3, 1, 2, 0}) {
        model.renk_Click(i);
        EXPECT_EQ(model.module().selColor, i);
        EXPECT_EQ(model.okTop(), 360 + 500 * i); // 360, 860, 1360, 1860
        EXPECT_EQ(model.okTop() - layout::renkRect(i).top, 20 * i);
    }
    EXPECT_EQ(generated, 0);
    EXPECT_EQ(model.grid(), initialGrid());

    model.renk_Click(2);
    openPopup();
    model.boya_Click();
    model.Form_Load();
    EXPECT_EQ(model.module().selColor, 0);
    EXPECT_EQ(model.module().selTool, Tool::Brush);
    EXPECT_EQ(model.okTop(), 1360);
    EXPECT_EQ(generated, 1);
}

} // namespace
