#pragma once

#include "io/exportscales.h"

#include <optional>

class QWidget;

namespace bitloom {

// Asks for the scale of a sprite export; none when the user cancels.
std::optional<int> askExportScale(QWidget* parent);

} // namespace bitloom
