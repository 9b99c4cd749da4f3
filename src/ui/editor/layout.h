#pragma once

#include "model/grid.h"

#include <array>
#include <string_view>

// Every window and control as laid out, in twips (1/1440 inch). This table is
// the one source of the program's geometry: the windows build their widgets
// from it and place the tool pop-up and the colour marker by it, converting
// to pixels in one place (twips.h).
namespace bitloom::layout {

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct ControlDescription {
    std::string_view name;
    Rect rect;
};

// Grid cells and palette cells stand on a 480 pitch and are 495 square, so
// the borders of neighbours fall on one shared line.
inline constexpr int kCellPitch = 480;
inline constexpr int kCellSize = 495;

// Cell k: column k % 8 counted from the right, row k / 8 from the top.
constexpr Rect cellRect(int cell)
{
    return {3480 - kCellPitch * columnFromRight(cell), 120 + kCellPitch * rowOf(cell), kCellSize, kCellSize};
}

constexpr Rect paletteCellRect(int index)
{
    return {4200, 360 + kCellPitch * index, kCellSize, kCellSize};
}

// The editor window and its single controls. the pen and brush buttons lie in the tool pop-up.
inline constexpr Rect kEditorClient = {0, 0, 5535, 4875};
inline constexpr ControlDescription kColourMarker = {"colourMarker", {4800, 360, 480, 480}};
inline constexpr ControlDescription kNameLabel = {"nameLabel", {120, 4080, 1935, 255}};
inline constexpr ControlDescription kNameBox = {"nameBox", {120, 4440, 2055, 315}};
inline constexpr ControlDescription kToolPopup = {"toolPopup", {4080, 2520, 1335, 735}};
inline constexpr ControlDescription kPenButton = {"penButton", {120, 120, 480, 480}};
inline constexpr ControlDescription kBrushButton = {"brushButton", {720, 120, 480, 480}};

// The marker's top beside palette cell `index`: it steps 500 per palette
// cell (not the cells' 480), so it stands a little lower beside each further
// cell.
constexpr int colourMarkerTop(int index)
{
    return index * 500 + 360;
}

// The main window, its top strip and the code window.
inline constexpr Rect kMainClient = {0, 0, 7170, 6075};
inline constexpr ControlDescription kTopStrip = {"topStrip", {0, 0, 7170, 495}};
inline constexpr Rect kCodeWindowClient = {0, 0, 3660, 6705};

// Size and height the code window is given at start-up (outer size).
inline constexpr int kCodeWindowStartWidth = 6000;
inline constexpr int kCodeWindowStartHeight = 7100;

// Height the Sprites window is given at start-up, below the editor and as
// wide as it (outer size).
inline constexpr int kSheetStartHeight = 3300;

} // namespace bitloom::layout
