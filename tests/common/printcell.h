#pragma once

// Cells by name in test failure messages.
#include "model/cell.h"

#include <ostream>

namespace bitloom {

inline void PrintTo(Cell cell, std::ostream* out)
{
    static const char* const kNames[] = {"White", "Grey", "DarkGrey", "Black", "Unpainted"};
    const auto value = static_cast<unsigned>(cell);
    if (value < 5)
        *out << "Cell::" << kNames[value];
    else
        *out << "Cell(" << value << ")";
}

} // namespace bitloom
