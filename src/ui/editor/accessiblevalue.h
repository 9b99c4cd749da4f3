#pragma once

#include <QAccessible>
#include <QString>

class QWidget;

namespace bitloom {

// Gives the editor's own controls (cells, palette cells, tools) a role and a
// value for assistive technology: a screen reader hears "Cell, row 1,
// column 1: black" or "Colour grey: selected".
void installAccessibleFactory();

// Sets the value that assistive technology reads for `widget` and announces
// the change when it differs.
void setAccessibleValue(QWidget* widget, const QString& value);

} // namespace bitloom
