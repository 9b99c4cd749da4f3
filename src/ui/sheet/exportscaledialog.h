#pragma once

#include <array>
#include <optional>

class QWidget;

namespace bitloom {

// Scale factors offered for exporting one sprite.
inline constexpr std::array<int, 4> kExportScales = {1, 2, 4, 8};

// Asks for the scale of a sprite export; none when the user cancels.
std::optional<int> askExportScale(QWidget* parent);

} // namespace bitloom
