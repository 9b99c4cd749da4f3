#pragma once

// Test helpers shared by the core and the widget tests.
#include <array>
#include <cstdio>
#include <string>

namespace bitloom::test {

// Eight initialiser bytes, row 0 first.
using Bytes = std::array<int, 8>;
inline constexpr Bytes kZero{};

// A sprite's two declarations as the program appends them: each on a line
// of its own after a line feed, "0x" and two upper-case digits per byte.
inline std::string declarations(const std::string& name, const Bytes& light, const Bytes& dark)
{
    std::string text;
    for (const auto& [plane, bytes] : {std::pair{"light", light}, std::pair{"dark", dark}}) {
        text += "\nstatic unsigned char " + name + plane + "[]={";
        for (std::size_t row = 0; row < bytes.size(); ++row) {
            char item[8];
            std::snprintf(item, sizeof item, row ? ",0x%02X" : "0x%02X", static_cast<unsigned>(bytes[row]));
            text += item;
        }
        text += "};";
    }
    return text;
}

} // namespace bitloom::test
