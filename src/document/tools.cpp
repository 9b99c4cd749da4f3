#include "tools.h"

namespace bitloom {

void ToolState::resetTools()
{
    mColour = Cell::White;
}

void ToolState::selectColour(int index)
{
    mColour = shadeOfCode(index);
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

void ToolState::openToolPopup()
{
    mToolPopupVisible = true;
}

void ToolState::closeToolPopup()
{
    mToolPopupVisible = false;
}

} // namespace bitloom
