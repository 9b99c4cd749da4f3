#pragma once

#include <array>

namespace bitloom {

// Scale factors offered for exporting one sprite, in the window and on the
// command line.
inline constexpr std::array<int, 4> kExportScales = {1, 2, 4, 8};

} // namespace bitloom
