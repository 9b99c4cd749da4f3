#pragma once

#include <QString>

namespace bitloom {

// The layout choices remembered for the file at `from` hold for `to` as well
// (Save As): the tiles of the saved file read as they did.
void carryLayoutChoices(const QString& from, const QString& to);

} // namespace bitloom
