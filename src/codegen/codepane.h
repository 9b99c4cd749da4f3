#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace bitloom {

// The code text's home as the updater sees it: read whole and written whole,
// as UTF-8.
class CodePane {
public:
    virtual ~CodePane() = default;
    virtual const std::string& text() const = 0;
    virtual void setText(const std::string& text) = 0;
};

} // namespace bitloom
