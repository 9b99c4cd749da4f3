#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace bitloom {

// One change of a text: `removed` bytes at byte offset `position` give way
// to `inserted`. The code generator returns what it would change as edits;
// the document applies them, keeps them for undo and hands them to the
// views, so that nobody compares whole texts to find out what changed.
struct TextEdit {
    std::size_t position = 0;
    std::size_t removed = 0;
    std::string inserted;

    bool operator==(const TextEdit&) const = default;
};

// Applies `edit` to `text`; the edit must lie within it.
inline void applyEdit(std::string& text, const TextEdit& edit)
{
    text.replace(edit.position, edit.removed, edit.inserted);
}

// The edit that takes the text after `edit` back to the text before it.
inline TextEdit inverseEdit(std::string_view before, const TextEdit& edit)
{
    return {edit.position, edit.inserted.size(), std::string(before.substr(edit.position, edit.removed))};
}

} // namespace bitloom
