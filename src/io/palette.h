#pragma once

#include "model/cell.h"

#include <QColor>
#include <QRgb>
#include <QString>

namespace bitloom {

// How each cell looks on screen and in images: the four shades in their
// fixed greys (white 0xFFFFFF, grey 0x808080, dark grey 0x404040, black
// 0x000000), an unpainted cell in the base colour of the application's
// palette, as a text field's background looks on this desktop.
QColor toQColor(Cell cell);

// The fixed grey of a shade; an unpainted cell is drawn white.
QRgb shadeRgb(Cell cell);

// What a person calls a cell's state: "white", "grey", "dark grey",
// "black", or "unpainted".
QString shadeName(Cell cell);

} // namespace bitloom
