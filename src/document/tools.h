#pragma once

#include "model/colour.h"
#include "model/grid.h"

namespace bitloom {

enum class MouseButton : Shade { Left = 1, Right = 2, Middle = 4 };

// The selected tool: nothing chosen yet, the pen, or the brush. Only the
// brush has an effect of its own: it paints the cells the pointer passes.
enum class Tool : Shade { None = 0, Pen = 1, Brush = 2 };

// Border of a tool image: none, or the single-line highlight.
enum class Border : Shade { None = 0, Single = 1 };

// The tools as the editor shows them: the selected colour with its marker,
// the selected tool, the tool pop-up and the highlight of the tool under the
// pointer. Positions are twips in the editor's client area.
class ToolState {
public:
    ToolState();

    // Puts the colour back to white, as at start-up.
    void resetTools();
    void selectColour(int index);
    void choosePen();
    void chooseBrush();
    void hoverPen();
    void hoverBrush();
    // Opens the pop-up with its top-left corner at the pointer, `x` and `y`
    // within `cell`, unclamped.
    void openToolPopup(int cell, float x, float y);
    // Hides the pop-up and its highlight; the tool stays as it was.
    void closeToolPopup();

    Shade colour() const { return mColour; }
    Tool tool() const { return mTool; }
    bool toolPopupVisible() const { return mToolPopupVisible; }
    float toolPopupLeft() const { return mToolPopupLeft; }
    float toolPopupTop() const { return mToolPopupTop; }
    Border penBorder() const { return mPenBorder; }
    Border brushBorder() const { return mBrushBorder; }
    Shade markerTop() const { return mMarkerTop; }

    bool operator==(const ToolState&) const = default;

private:
    Shade mColour = 0;
    Tool mTool = Tool::None;
    bool mToolPopupVisible = false;
    float mToolPopupLeft;
    float mToolPopupTop;
    Border mPenBorder = Border::None;
    Border mBrushBorder = Border::None;
    Shade mMarkerTop;
};

} // namespace bitloom
