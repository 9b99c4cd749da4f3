#pragma once

#include "model/colour.h"

#include <QColor>
#include <QString>

namespace bitloom {

// How a stored colour value looks on this desktop. System-colour references
// take the matching colour of the application palette.
QColor toQColor(Colour colour);

// What a person calls a cell's colour: "white", "grey", "dark grey",
// "black", or "unpainted" for a colour that is no palette colour.
QString shadeName(const Palette& palette, Colour colour);

} // namespace bitloom
