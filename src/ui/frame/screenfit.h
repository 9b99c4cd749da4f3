#pragma once

#include <QSize>

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

} // namespace bitloom
