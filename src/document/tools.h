#pragma once

#include "model/cell.h"

#include <cstdint>

namespace bitloom {

enum class MouseButton : std::int16_t { Left = 1, Right = 2, Middle = 4 };

// The selected tool: nothing chosen yet, the pen, or the brush. Only the
// brush has an effect of its own: it paints the cells the pointer passes.
enum class Tool : std::int16_t { None = 0, Pen = 1, Brush = 2 };

// The tools as far as they decide what an action does: the selected colour,
// the selected tool and whether the tool pop-up is open (presses on the grid
// are ignored then). Where the editor shows them is the editor's own.
class ToolState {
public:
    // Puts the colour back to white, as at start-up.
    void resetTools();
    void selectColour(int index);
    void choosePen();
    void chooseBrush();
    void openToolPopup();
    // Hides the pop-up; the tool stays as it was.
    void closeToolPopup();

    Cell colour() const { return mColour; }
    Tool tool() const { return mTool; }
    bool toolPopupVisible() const { return mToolPopupVisible; }

    bool operator==(const ToolState&) const = default;

private:
    Cell mColour = Cell::White;
    Tool mTool = Tool::None;
    bool mToolPopupVisible = false;
};

} // namespace bitloom
