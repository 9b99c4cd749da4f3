#include "declaration.h"

namespace bitloom {

std::size_t firstLineStart(std::string_view text)
{
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    return text.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
}

} // namespace bitloom
