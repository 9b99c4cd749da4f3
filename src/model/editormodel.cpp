#include "editormodel.h"

#include "layout.h"
#include "storerecall.h"

namespace bitloom {

EditorModel::EditorModel()
    : mToolsLeft(static_cast<float>(layout::kTools.rect.left))
    , mToolsTop(static_cast<float>(layout::kTools.rect.top))
    , mOkTop(static_cast<Code>(layout::kOk.rect.top))
{
}

void EditorModel::Form_Load()
{
    mModule.selColor = 0;
    changed();
}

void EditorModel::renk_Click(int index)
{
    mModule.selColor = static_cast<Code>(index);
    // The marker steps 500 per palette cell (not the cells' 480), so it stands
    // a little lower beside each further cell.
    mOkTop = static_cast<Code>(index * 500 + 360);
    changed();
}

void EditorModel::kalem_Click()
{
    mModule.selTool = Tool::Pen;
    mToolsVisible = false;
    changed();
}

void EditorModel::boya_Click()
{
    mModule.selTool = Tool::Brush;
    mToolsVisible = false;
    changed();
}

void EditorModel::kalem_MouseMove()
{
    mKalemBorder = Border::Single;
    mBoyaBorder = Border::None;
    changed();
}

void EditorModel::boya_MouseMove()
{
    mKalemBorder = Border::None;
    mBoyaBorder = Border::Single;
    changed();
}

void EditorModel::pixel_MouseDown(int index, MouseButton button, float x, float y)
{
    if (mToolsVisible)
        return; // while the pop-up is open, presses on the grid are ignored

    if (button == MouseButton::Right) {
        // Open the pop-up with its top-left corner at the pointer, unclamped.
        const auto cell = layout::pixelRect(index);
        mToolsTop = static_cast<float>(cell.top) + y;
        mToolsLeft = static_cast<float>(cell.left) + x;
        mKalemBorder = Border::None;
        mBoyaBorder = Border::None;
        mToolsVisible = true;
    } else {
        paint(index);
    }
    changed();
    // Also after a right press: brush strokes since the last press reach the
    // code text now.
    if (mGenerate)
        mGenerate();
}

void EditorModel::pixel_MouseMove(int index)
{
    if (mModule.selTool != Tool::Brush)
        return;
    paint(index);
    changed();
}

void EditorModel::clearTile()
{
    mGrid.fill(mPalette[0]);
    changed();
    if (mGenerate)
        mGenerate();
}

void EditorModel::sprName_Change(const NameBox& names)
{
    bitloom::sprName_Change(mGrid, mPalette, names, mModule.spriteTable);
    changed();
}

void EditorModel::sprName_Click(const NameBox& names)
{
    bitloom::sprName_Click(mGrid, mPalette, names, mModule.spriteTable);
    changed();
}

void EditorModel::paint(int index)
{
    mGrid[static_cast<std::size_t>(index)] = mPalette[static_cast<std::size_t>(mModule.selColor)];
}

void EditorModel::changed()
{
    if (mChanged)
        mChanged();
}

} // namespace bitloom
