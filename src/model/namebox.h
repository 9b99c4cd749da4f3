#pragma once

#include <string>

namespace bitloom {

// The name box as the core sees it: the current sprite name is its text,
// and registered names are appended to its list. The window implements it
// with the combo box; tests with plain strings.
class NameBox {
public:
    virtual ~NameBox() = default;
    virtual std::string text() const = 0;
    virtual void addItem(const std::string& name) = 0;
};

} // namespace bitloom
