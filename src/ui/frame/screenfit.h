#pragma once

#include <QRect>
#include <QSize>

#include <array>

class QMdiArea;
class QWidget;

namespace bitloom {

// The size a window is given: `wanted`, but no larger than the `available`
// area of its screen less the window's `frame` (its border and caption).
QSize fittedSize(QSize wanted, QSize frame, QSize available);

// Sizes `window`, before it first appears, so that the child windows of its
// `workspace` are shown whole, as far as the available area of the window's
// screen allows. What does not fit is reached by scrolling the workspace.
void fitToScreen(QWidget& window, QMdiArea& workspace);

// A child window of the workspace as the arrangements see it: the size it
// starts at, the least it needs to show its contents, and whether it is
// shown (the x of a child window hides it).
struct ChildWindow {
    QSize wanted;
    QSize least;
    bool shown = true;
};

// The editor, the code window and the Sprites window, in that order, and
// where each goes in the workspace (an empty rectangle for a hidden one).
using ChildWindows = std::array<ChildWindow, 3>;
using ChildPlaces = std::array<QRect, 3>;

// The editor at the top-left, the Sprites window below it and the code
// window right of them, within a workspace of `area`. At the start (`fill`
// false) each keeps its wanted size; Tile Windows (`fill` true) grows the
// Sprites and code windows into the rest of the area. Where the windows do
// not fit, the code window moves left over the editor's right edge and the
// code and Sprites windows grow shorter, but never below what they need;
// the Sprites window then moves up over the editor's lower edge. Neither
// covers more than half the editor: what still does not fit is reached by
// scrolling.
ChildPlaces sideBySide(QSize area, const ChildWindows& windows, bool fill);

// The shown windows one below and right of the other by `step`, each at its
// wanted size as far as the area allows but never below what it needs,
// moved back up and left into the area where they would leave it.
ChildPlaces cascaded(QSize area, const ChildWindows& windows, int step);

} // namespace bitloom
