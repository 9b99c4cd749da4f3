#include "tools.h"

namespace bitloom {

void ToolState::resetTools()
{
    mColour = 0;
}

void ToolState::selectColour(int index)
{
    mColour = static_cast<Shade>(index);
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
