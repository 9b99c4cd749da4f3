#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace bitloom {

// The code text's home as the core sees it: read whole, written whole, and
// searched. Indices are byte offsets into the UTF-8 text that `text` returns.
class CodePane {
public:
    static constexpr std::ptrdiff_t npos = -1;

    virtual ~CodePane() = default;
    virtual std::string text() const = 0;
    virtual void setText(const std::string& text) = 0;
    // Index of the first occurrence of `needle` at or after `start`, or npos.
    virtual std::ptrdiff_t find(std::string_view needle, std::size_t start = 0) const = 0;
};

} // namespace bitloom
