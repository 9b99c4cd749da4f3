#include "editormodel.h"

#include "layout.h"
#include "storerecall.h"

namespace bitloom {

EditorModel::EditorModel()
    : mToolPopupLeft(static_cast<float>(layout::kToolPopup.rect.left))
    , mToolPopupTop(static_cast<float>(layout::kToolPopup.rect.top))
    , mMarkerTop(static_cast<Code>(layout::kColourMarker.rect.top))
{
}

void EditorModel::resetTools()
{
    mModule.selColor = 0;
    changed();
}

void EditorModel::selectColour(int index)
{
    mModule.selColor = static_cast<Code>(index);
    // The marker steps 500 per palette cell (not the cells' 480), so it stands
    // a little lower beside each further cell.
    mMarkerTop = static_cast<Code>(index * 500 + 360);
    changed();
}

void EditorModel::choosePen()
{
    mModule.selTool = Tool::Pen;
    mToolPopupVisible = false;
    changed();
}

void EditorModel::chooseBrush()
{
    mModule.selTool = Tool::Brush;
    mToolPopupVisible = false;
    changed();
}

void EditorModel::hoverPen()
{
    mPenBorder = Border::Single;
    mBrushBorder = Border::None;
    changed();
}

void EditorModel::hoverBrush()
{
    mPenBorder = Border::None;
    mBrushBorder = Border::Single;
    changed();
}

void EditorModel::press(int index, MouseButton button, float x, float y)
{
    if (mToolPopupVisible)
        return; // while the pop-up is open, presses on the grid are ignored

    if (button == MouseButton::Right) {
        // Open the pop-up with its top-left corner at the pointer, unclamped.
        const auto cell = layout::cellRect(index);
        mToolPopupTop = static_cast<float>(cell.top) + y;
        mToolPopupLeft = static_cast<float>(cell.left) + x;
        mPenBorder = Border::None;
        mBrushBorder = Border::None;
        mToolPopupVisible = true;
    } else {
        paint(index);
    }
    changed();
    // Also after a right press: brush strokes since the last press reach the
    // code text now.
    if (mGenerate)
        mGenerate();
}

void EditorModel::moveOver(int index)
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

void EditorModel::recallTyped(const NameBox& names)
{
    bitloom::recallTyped(mGrid, mPalette, names, mModule.spriteTable);
    changed();
}

void EditorModel::recallChosen(const NameBox& names)
{
    bitloom::recallChosen(mGrid, mPalette, names, mModule.spriteTable);
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
