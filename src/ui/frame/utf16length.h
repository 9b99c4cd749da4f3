#pragma once

#include <QtGlobal>

#include <string_view>

namespace bitloom {

// Number of UTF-16 code units that the UTF-8 text `utf8` takes.
inline qsizetype utf16Length(std::string_view utf8)
{
    // Every byte but a continuation byte starts a character, and a four-byte
    // sequence becomes a surrogate pair. Counted without branches, so the
    // compiler can take many bytes at a time: this runs over the text before
    // every edit.
    qsizetype units = 0;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        units += qsizetype((byte & 0xC0) != 0x80) + qsizetype(byte >= 0xF0);
    }
    return units;
}

} // namespace bitloom
