#include "tools.h"

#include "model/layout.h"

namespace bitloom {

ToolState::ToolState()
    : mToolPopupLeft(static_cast<float>(layout::kToolPopup.rect.left)),
      mToolPopupTop(static_cast<float>(layout::kToolPopup.rect.top)),
      mMarkerTop(static_cast<Shade>(layout::kColourMarker.rect.top))
{
}

void ToolState::resetTools()
{
    mColour = 0;
}

void ToolState::selectColour(int index)
{
    mColour = static_cast<Shade>(index);
    // The marker steps 500 per palette cell (not the cells' 480), so it stands
    // a little lower beside each further cell.
    mMarkerTop = static_cast<Shade>(index * 500 + 360);
}

void ToolState::choosePen()
{
    mTool = Tool::Pen;
    mToolPopupVisible = false;
}

void ToolState::chooseBrush()
{
    mTool = Tool::Brush;
    mToolPopupVisible = false;
}

void ToolState::hoverPen()
{
    mPenBorder = Border::Single;
    mBrushBorder = Border::None;
}

void ToolState::hoverBrush()
{
    mPenBorder = Border::None;
    mBrushBorder = Border::Single;
}

void ToolState::openToolPopup(int cell, float x, float y)
{
    const auto rect = layout::cellRect(cell);
    mToolPopupTop = static_cast<float>(rect.top) + y;
    mToolPopupLeft = static_cast<float>(rect.left) + x;
    mPenBorder = Border::None;
    mBrushBorder = Border::None;
    mToolPopupVisible = true;
}

void ToolState::closeToolPopup()
{
    mToolPopupVisible = false;
    mPenBorder = Border::None;
    mBrushBorder = Border::None;
}

} // namespace bitloom
