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

TEST_F(Editor, StartsAsLaidOut)
{
    EXPECT_FALSE(model.toolsVisible());
    EXPECT_EQ(model.toolsLeft(), 4080.0f);
    EXPECT_EQ(model.toolsTop(), 2520.0f);
    EXPECT_EQ(model.okTop(), 360);
    EXPECT_EQ(model.module().selTool, Tool::None);
    EXPECT_EQ(model.grid(), initialGrid());
}

TEST_F(Editor, LeftAndMiddlePressesPaintAndGenerate)
{
    model.renk_Click(3);
    model.pixel_MouseDown(7, MouseButton::Left, 10, 10);
    EXPECT_EQ(cell(7), kPalette[3]);
    EXPECT_EQ(generated, 1);
    EXPECT_TRUE(pane.text().starts_with("\nstatic unsigned char Spritelight[]={0x80,")) << pane.text();

    model.renk_Click(2);
    model.pixel_MouseDown(8, MouseButton::Middle, 0, 0);
    EXPECT_EQ(cell(8), kPalette[2]);
    EXPECT_EQ(generated, 2);
    EXPECT_EQ(model.module().spriteTable[0].codes[8], 2) << "the press stored the grid";
}

TEST_F(Editor, MovingPaintsOnlyWithTheBrushAndNeverGenerates)
{
    model.renk_Click(1);
    model.pixel_MouseMove(5); // no tool chosen yet
    openPopup();
    model.kalem_Click();
    model.pixel_MouseMove(5);
    EXPECT_EQ(cell(5), kInitialCellColour);

    openPopup();
    model.boya_Click();
    EXPECT_EQ(model.module().selTool, Tool::Brush);
    const int before = generated;
    const std::string text = pane.text();
    model.pixel_MouseMove(5);
    model.pixel_MouseMove(6);
    EXPECT_EQ(cell(5), kPalette[1]);
    EXPECT_EQ(cell(6), kPalette[1]);
    EXPECT_EQ(generated, before);
    EXPECT_EQ(pane.text(), text);

    // The next right press brings the strokes into the code text.
    model.pixel_MouseDown(40, MouseButton::Right, 1, 1);
    EXPECT_NE(pane.text(), text);
    EXPECT_EQ(cell(40), kInitialCellColour);
}

struct RightPress {
    int cell;
    float x, y;
    float left, top;
};

class EditorRightPress : public Editor, public ::testing::WithParamInterface<RightPress> {};

TEST_P(EditorRightPress, OpensThePopupAtThePointer)
{
    const auto& p = GetParam();
    model.kalem_MouseMove();
    const Grid before = model.grid();
    model.pixel_MouseDown(p.cell, MouseButton::Right, p.x, p.y);
    EXPECT_TRUE(model.toolsVisible());
    EXPECT_EQ(model.toolsLeft(), p.left);
    EXPECT_EQ(model.toolsTop(), p.top);
    EXPECT_EQ(model.kalemBorder(), Border::None);
    EXPECT_EQ(model.boyaBorder(), Border::None);
    EXPECT_EQ(model.grid(), before);
    EXPECT_EQ(generated, 1) << "a right press still regenerates";
    EXPECT_LE(model.toolsLeft() + layout::kTools.rect.width, layout::kEditorClient.width);
    EXPECT_LE(model.toolsTop() + layout::kTools.rect.height, layout::kEditorClient.height);
}

INSTANTIATE_TEST_SUITE_P(Cells, EditorRightPress,
                         ::testing::Values(RightPress{0, 0, 0, 3480, 120},
                                           RightPress{7, 12.5f, 30.25f, 132.5f, 150.25f},
                                           RightPress{56, 494, 494, 3974, 3974}, RightPress{63, 1, 2, 121, 3482},
                                           RightPress{19, 100, 200, 2140, 1280}));

TEST_F(Editor, PressesAreIgnoredWhileThePopupIsShown)
{
    model.pixel_MouseDown(3, MouseButton::Right, 5, 5);
    const float left = model.toolsLeft();
    const std::string text = pane.text();
    model.renk_Click(3);
    for (const auto button : {MouseButton::Left, MouseButton::Middle, MouseButton::Right})
        model.pixel_MouseDown(60, button, 40, 40);
    EXPECT_EQ(cell(60), kInitialCellColour);
    EXPECT_EQ(model.toolsLeft(), left);
    EXPECT_EQ(generated, 1);
    EXPECT_EQ(pane.text(), text);

    // The brush still paints uncovered cells while the pop-up is shown.
    model.boya_Click();
    openPopup();
    model.pixel_MouseMove(60);
    EXPECT_EQ(cell(60), kPalette[3]);

    // Clear Tile does not look at the pop-up.
    model.clearTile();
    EXPECT_EQ(model.grid(), [] { Grid g; g.fill(kPalette[0]); return g; }());
    EXPECT_EQ(generated, 3);
    EXPECT_EQ(pane.text(), "\nstatic unsigned char Spritelight[]={0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00};"
                           "\nstatic unsigned char Spritedark[]={0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00};");
}

TEST_F(Editor, ToolClicksHideThePopupAndKeepBorders)
{
    openPopup();
    model.boya_MouseMove();
    EXPECT_EQ(model.kalemBorder(), Border::None);
    EXPECT_EQ(model.boyaBorder(), Border::Single);
    model.kalem_MouseMove();
    EXPECT_EQ(model.kalemBorder(), Border::Single);
    EXPECT_EQ(model.boyaBorder(), Border::None);
    model.kalem_Click();
    EXPECT_FALSE(model.toolsVisible());
    EXPECT_EQ(model.module().selTool, Tool::Pen);
    EXPECT_EQ(model.kalemBorder(), Border::Single);

    openPopup();
    model.kalem_Click(); // the tool already chosen
    EXPECT_FALSE(model.toolsVisible());
    EXPECT_EQ(model.module().selTool, Tool::Pen);
}

TEST_F(Editor, PaletteClickMovesTheMarkerFiveHundredPerCell)
{
    const int tops[] = {360, 860, 1360, 1860};
    for (int i = 3; i >= 0; --i) {
        model.renk_Click(i);
        EXPECT_EQ(model.module().selColor, i);
        EXPECT_EQ(model.okTop(), tops[i]);
        EXPECT_EQ(model.okTop() - layout::renkRect(i).top, 20 * i);
    }
    EXPECT_EQ(generated, 0);
    EXPECT_EQ(model.grid(), initialGrid());
}

TEST_F(Editor, FormLoadResetsOnlyTheColour)
{
    model.renk_Click(2);
    openPopup();
    model.boya_Click();
    int notified = 0;
    model.setChanged([&] { ++notified; });
    model.Form_Load();
    EXPECT_EQ(model.module().selColor, 0);
    EXPECT_EQ(model.module().selTool, Tool::Brush);
    EXPECT_EQ(model.okTop(), 1360);
    EXPECT_EQ(generated, 1);
    EXPECT_EQ(notified, 1);
}

} // namespace
