#include "layoutdetect.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace bitloom {

namespace {

constexpr bool isWordChar(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
constexpr bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}
constexpr char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}
std::string lowered(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), lower);
    return out;
}
bool startsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}
bool endsWith(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}
std::size_t skipBlanks(std::string_view text, std::size_t at)
{
    while (at < text.size() && isBlank(text[at]))
        ++at;
    return at;
}
// Whether `word` stands in `text` as a whole word (not inside an identifier).
bool hasWord(std::string_view text, std::string_view word)
{
    for (std::size_t at = text.find(word); at != std::string_view::npos; at = text.find(word, at + 1)) {
        const bool before = at > 0 && isWordChar(text[at - 1]);
        const bool after = at + word.size() < text.size() && isWordChar(text[at + word.size()]);
        if (!before && !after)
            return true;
    }
    return false;
}

// The integer a define gives: decimal or hex, maybe with integer suffixes
// and in parentheses.
std::optional<long> integerValue(std::string_view value)
{
    while (!value.empty() && (value.front() == '(' || isBlank(value.front())))
        value.remove_prefix(1);
    while (!value.empty() && (value.back() == ')' || isBlank(value.back())))
        value.remove_suffix(1);
    while (!value.empty() && (lower(value.back()) == 'u' || lower(value.back()) == 'l'))
        value.remove_suffix(1);
    int base = 10;
    if (value.size() > 2 && value[0] == '0' && lower(value[1]) == 'x') {
        value.remove_prefix(2);
        base = 16;
    }
    long result = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), result, base);
    if (value.empty() || error != std::errc{} || end != value.data() + value.size())
        return std::nullopt;
    return result;
}

// What one comment says: a "layout: ID", a format name, a compression.
void readComment(std::string_view comment, std::size_t position, FileClues& clues)
{
    const std::string low = lowered(comment);
    for (std::size_t at = low.find("layout:"); at != std::string::npos; at = low.find("layout:", at + 1)) {
        std::size_t end = skipBlanks(low, at + 7);
        const std::size_t start = end;
        while (end < low.size() && (isWordChar(low[end]) || low[end] == '-'))
            ++end;
        if (const auto layout = parseLayoutId(std::string_view(low).substr(start, end - start)))
            clues.layoutComments.push_back({*layout, position, {}});
    }
    if (const std::size_t at = low.find("compression"); at != std::string::npos) {
        std::size_t colon = skipBlanks(low, at + 11);
        if (colon < low.size() && low[colon] == ':') {
            const std::size_t start = skipBlanks(low, colon + 1);
            std::size_t end = start;
            while (end < low.size() && isWordChar(low[end]))
                ++end;
            if (end > start && std::string_view(low).substr(start, end - start) != "none")
                clues.compressed = true;
        }
    }
    if (clues.formatComment)
        return;
    // Tile designers' banners name the target; planar metadata gives the
    // number of planes and the distance between a row's two planes.
    if (low.find("gameboy") != std::string::npos || low.find("game boy") != std::string::npos)
        clues.formatComment = TileLayout::Gb;
    else if (hasWord(comment, "NES") || hasWord(comment, "CHR"))
        clues.formatComment = TileLayout::Nes;
    else if (low.find("np:2") != std::string::npos && low.find("pofs:8") != std::string::npos)
        clues.formatComment = TileLayout::Nes;
    else if (low.find("np:2") != std::string::npos && low.find("pofs:1") != std::string::npos)
        clues.formatComment = TileLayout::Gb;
}

// What an #include names. The Game Boy, NES and Arduboy libraries fix the
// layout. Adafruit GFX draws rows, high bit first. U8glib and U8g2 draw both
// kinds, but their pictures are most often XBM files (drawXBM, drawXBMP), so
// they stand for rows-lsb; a drawBitmap call in the file, which reads rows
// high bit first, is a stronger clue and wins.
void readInclude(std::string_view target, std::size_t position, FileClues& clues)
{
    const std::size_t slash = target.rfind('/');
    const std::string_view file = slash == std::string_view::npos ? target : target.substr(slash + 1);
    if (startsWith(target, "gb/") || startsWith(target, "gbdk/"))
        clues.platformClues.push_back({TileLayout::Gb, position, {}});
    else if (file == "neslib.h")
        clues.platformClues.push_back({TileLayout::Nes, position, {}});
    else if (file == "Arduboy2.h")
        clues.platformClues.push_back({TileLayout::Columns, position, {}});
    else if (file == "Adafruit_GFX.h")
        clues.libraryIncludes.push_back({TileLayout::Rows, position, {}});
    else if (file == "U8glib.h" || file == "U8g2lib.h")
        clues.libraryIncludes.push_back({TileLayout::RowsLsb, position, {}});
}

// A preprocessor line: includes and integer defines.
void readDirective(std::string_view line, std::size_t position, FileClues& clues)
{
    std::size_t at = skipBlanks(line, 1); // after '#'
    std::size_t end = at;
    while (end < line.size() && isWordChar(line[end]))
        ++end;
    const std::string_view directive = line.substr(at, end - at);
    at = skipBlanks(line, end);
    if (directive == "include" && at < line.size() && (line[at] == '<' || line[at] == '"')) {
        const std::size_t close = line.find(line[at] == '<' ? '>' : '"', at + 1);
        if (close != std::string_view::npos)
            readInclude(line.substr(at + 1, close - at - 1), position, clues);
    } else if (directive == "define") {
        end = at;
        while (end < line.size() && isWordChar(line[end]))
            ++end;
        if (end == at || (end < line.size() && line[end] == '('))
            return; // a macro with parameters
        if (const auto value = integerValue(line.substr(end)))
            clues.defines[std::string(line.substr(at, end - at))] = *value;
    }
}

// The layout a called function draws, if it is one of the known calls.
// `qualifier` is what stands right before the name ("Sprites::", "sprites.").
std::optional<std::pair<TileLayout, bool>> callLayout(std::string_view name, std::string_view before)
{
    if (name == "set_sprite_data" || name == "set_bkg_data" || name == "set_win_data")
        return std::pair{TileLayout::Gb, true};
    if (startsWith(name, "draw") && (endsWith(before, "Sprites::") || endsWith(before, "sprites.")))
        return std::pair{TileLayout::Columns, true};
    if (name == "drawXBM" || name == "drawXBMP" || name == "drawXBitmap")
        return std::pair{TileLayout::RowsLsb, false};
    if (name == "drawBitmap")
        return std::pair{TileLayout::Rows, false};
    return std::nullopt;
}

// The text between the parenthesis at `open` and its partner.
std::string_view argumentsAt(std::string_view code, std::size_t open)
{
    int depth = 0;
    for (std::size_t at = open; at < code.size(); ++at) {
        if (code[at] == '(')
            ++depth;
        else if (code[at] == ')' && --depth == 0)
            return code.substr(open + 1, at - open - 1);
    }
    return code.substr(open + 1);
}

void readCalls(std::string_view code, FileClues& clues)
{
    std::size_t at = 0;
    while (at < code.size()) {
        if (!isWordChar(code[at])) {
            ++at;
            continue;
        }
        const std::size_t start = at;
        while (at < code.size() && isWordChar(code[at]))
            ++at;
        const std::string_view name = code.substr(start, at - start);
        const std::size_t open = skipBlanks(code, at);
        if (open >= code.size() || code[open] != '(')
            continue;
        const auto found = callLayout(name, code.substr(0, start));
        if (!found)
            continue;
        FileClues::Clue clue{found->first, start, std::string(argumentsAt(code, open))};
        (found->second ? clues.platformClues : clues.drawCalls).push_back(std::move(clue));
    }
}

struct SizeDefines {
    int width = 0;
    int height = 0;   // 0 when not defined
    bool xbm = false; // lower-case "_width", as XBM files write it
};

// The WIDTH and HEIGHT defines named like the array: PREFIX_width for an
// array PREFIX or PREFIX_anything (XBM's X_width for X_bits, LOGO_WIDTH for
// logo_bmp), in any letter case; the longest prefix wins.
std::optional<SizeDefines> sizeDefinesFor(const FileClues& clues, std::string_view array)
{
    const std::string name = lowered(array);
    std::optional<SizeDefines> best;
    std::size_t bestLength = 0;
    for (const auto& [define, value] : clues.defines) {
        const std::string low = lowered(define);
        if (!endsWith(low, "_width") || value <= 0 || value > 1 << 16)
            continue;
        const std::string prefix = low.substr(0, low.size() - 6);
        if (prefix.empty() || prefix.size() < bestLength
            || !(name == prefix || startsWith(name, prefix + '_')))
            continue;
        SizeDefines size{int(value), 0, endsWith(define, "_width")};
        const std::string stem = define.substr(0, define.size() - 6);
        for (const char* suffix : {"_height", "_HEIGHT", "_Height"}) {
            const auto height = clues.defines.find(stem + suffix);
            if (height != clues.defines.end() && height->second > 0 && height->second <= 1 << 24)
                size.height = int(height->second);
        }
        best = size;
        bestLength = prefix.size();
    }
    return best;
}

// Whether a call's arguments name the array.
bool mentions(const FileClues::Clue& call, std::string_view array)
{
    return hasWord(call.arguments, array);
}

// An Arduboy sprite: width and height, then pages of `width` bytes.
std::optional<TileImage> headerImage(const ByteArray& array)
{
    if (array.bytes.size() < 3)
        return std::nullopt;
    const int width = array.bytes[0];
    const int height = array.bytes[1];
    if (width == 0 || height == 0)
        return std::nullopt;
    return imageFor(TileLayout::Columns, array.bytes.size(), width, 2, height);
}

struct Verdict {
    std::optional<TileLayout> layout;
    LayoutSource source = LayoutSource::Size;
    bool specific = false; // the clue names this array, not just the file
};

// What the file says about this array, strongest clue first.
Verdict fileVerdict(const FileClues& clues, const ByteArray& array, bool picture,
                    const std::optional<SizeDefines>& size)
{
    const auto comment =
        std::find_if(clues.layoutComments.rbegin(), clues.layoutComments.rend(),
                     [&](const FileClues::Clue& clue) { return clue.position < array.position; });
    if (comment != clues.layoutComments.rend())
        return {comment->layout, LayoutSource::File, true};
    if (clues.formatComment)
        return {clues.formatComment, LayoutSource::File, false};
    if (size && size->xbm)
        return {TileLayout::RowsLsb, LayoutSource::File, true};
    // A call that draws the array makes it a picture. Arduboy's drawBitmap
    // draws columns: a platform's own clue says more than a call's name.
    for (const FileClues::Clue& call : clues.platformClues) {
        if (mentions(call, array.name))
            return {call.layout, LayoutSource::File, true};
    }
    for (const FileClues::Clue& call : clues.drawCalls) {
        if (mentions(call, array.name)) {
            const TileLayout layout =
                clues.platformClues.empty() ? call.layout : clues.platformClues.front().layout;
            return {layout, LayoutSource::File, true};
        }
    }
    // Includes and calls say what the file's pictures are, not which arrays
    // are pictures: they count for arrays whose name or defines say so.
    if (picture || size) {
        for (const auto* group : {&clues.platformClues, &clues.drawCalls, &clues.libraryIncludes}) {
            if (!group->empty())
                return {group->front().layout, LayoutSource::File, bool(size)};
        }
    }
    if (size)
        return {TileLayout::Rows, LayoutSource::File, true}; // Adafruit's WIDTH and HEIGHT
    return {};
}

// A guess from the name and size alone, for picture-like names.
std::optional<TileLayout> shapeGuess(const ByteArray& array)
{
    // "CHR" is what NES programs call their pattern tables.
    const TileLayout twoBits =
        lowered(array.name).find("chr") != std::string::npos ? TileLayout::Nes : TileLayout::Gb;
    if (array.innerDimension == 16)
        return twoBits;
    if (array.innerDimension == 8)
        return TileLayout::Rows;
    const std::size_t length = array.bytes.size();
    if (length > 0 && length % 16 == 0)
        return twoBits;
    if (length > 0 && length % 8 == 0)
        return TileLayout::Rows;
    return std::nullopt;
}

// The image of the array in its layout: the user's width, else the
// defines' size, else an Arduboy header, else 8 wide.
std::optional<TileImage> sizedImage(TileLayout layout, const ByteArray& array, const LayoutChoice& choice,
                                    const std::optional<SizeDefines>& size)
{
    const std::size_t length = array.bytes.size();
    const auto header = layout == TileLayout::Columns ? headerImage(array) : std::nullopt;
    if (choice.width) {
        if (header && header->width == *choice.width)
            return header;
        return imageFor(layout, length, *choice.width);
    }
    // Defines that do not match the bytes make the array fit no layout,
    // rather than an image of some other width.
    if (size && isOneBit(layout)) {
        if (header && header->width == size->width)
            return header;
        return imageFor(layout, length, size->width, 0, size->height);
    }
    if (header)
        return header;
    return imageFor(layout, length);
}

} // namespace

FileClues readFileClues(std::string_view text)
{
    FileClues clues;
    // The code with every comment blanked out (offsets kept), read for
    // directives and calls; the comments, read for what they say.
    std::string code(text);
    bool lineStart = true;
    std::size_t at = 0;
    while (at < text.size()) {
        const char c = text[at];
        if (c == '/' && at + 1 < text.size() && (text[at + 1] == '/' || text[at + 1] == '*')) {
            const bool block = text[at + 1] == '*';
            std::size_t end = block ? text.find("*/", at + 2) : text.find('\n', at);
            end = end == std::string_view::npos ? text.size() : end + (block ? 2 : 0);
            readComment(text.substr(at, end - at), at, clues);
            for (std::size_t i = at; i < end; ++i) {
                if (code[i] != '\n')
                    code[i] = ' ';
            }
            at = end;
            continue;
        }
        if (c == '"' || c == '\'') {
            std::size_t end = at + 1;
            while (end < text.size() && text[end] != c && text[end] != '\n')
                end += text[end] == '\\' ? 2 : 1;
            at = std::min(end + 1, text.size());
            lineStart = false;
            continue;
        }
        if (c == '#' && lineStart) {
            std::size_t end = text.find('\n', at);
            end = end == std::string_view::npos ? text.size() : end;
            // The directive ends where a comment on its line begins; the
            // loop reads that comment next.
            std::size_t comment = at;
            while (comment < end
                   && !(text[comment] == '/' && comment + 1 < end
                        && (text[comment + 1] == '/' || text[comment + 1] == '*')))
                ++comment;
            readDirective(text.substr(at, comment - at), at, clues);
            at = comment;
            lineStart = false;
            continue;
        }
        if (c == '\n')
            lineStart = true;
        else if (!isBlank(c))
            lineStart = false;
        ++at;
    }
    readCalls(code, clues);
    return clues;
}

std::string_view layoutSourceSuffix(LayoutSource source)
{
    switch (source) {
    case LayoutSource::Choice: return "· your choice";
    case LayoutSource::File: return "· from the file's comment";
    case LayoutSource::Size: return "· guessed from its size";
    }
    return {};
}

std::string layoutStatusText(TileLayout layout, LayoutSource source)
{
    return std::string(layoutMenuText(layout)) + ' ' + std::string(layoutSourceSuffix(source));
}

bool hasPictureName(std::string_view name)
{
    static constexpr std::array<std::string_view, 14> kWords = {"tile", "sprite", "spr",    "font",  "chr",
                                                                "gfx",  "bmp",    "bitmap", "img",   "image",
                                                                "icon", "logo",   "glyph",  "cursor"};
    const std::string low = lowered(name);
    return std::any_of(kWords.begin(), kWords.end(),
                       [&](std::string_view word) { return low.find(word) != std::string::npos; });
}

LayoutDetection detectLayout(const FileClues& clues, const ByteArray& array, const LayoutChoice& choice)
{
    if (choice.notTiles)
        return {std::nullopt, LayoutSource::Choice, false};
    const bool picture = hasPictureName(array.name);
    const auto size = sizeDefinesFor(clues, array.name);

    Verdict verdict;
    if (choice.layout)
        verdict = {choice.layout, LayoutSource::Choice, true};
    else if (clues.compressed)
        return {std::nullopt, LayoutSource::File, false};
    else
        verdict = fileVerdict(clues, array, picture, size);

    // An Arduboy sprite carries its size in its first two bytes: in a file
    // for Arduboy, whatever its name.
    const bool arduboy =
        std::any_of(clues.platformClues.begin(), clues.platformClues.end(),
                    [](const FileClues::Clue& clue) { return clue.layout == TileLayout::Columns; });
    if (!verdict.layout && (picture || arduboy)) {
        if (const auto header = headerImage(array))
            return {header, arduboy ? LayoutSource::File : LayoutSource::Size, false};
    }
    if (!verdict.layout && picture)
        verdict = {shapeGuess(array), LayoutSource::Size, true};
    if (!verdict.layout)
        return {std::nullopt, LayoutSource::Size, picture};
    // A width is the user saying the array is an image, which only 1-bit
    // layouts hold: it overrules a guess of two bits.
    if (choice.width && verdict.source == LayoutSource::Size && !isOneBit(*verdict.layout))
        verdict.layout = TileLayout::Rows;

    const auto image = sizedImage(*verdict.layout, array, choice, size);
    return {image, verdict.source, !image && (verdict.specific || picture)};
}

std::string fitsNoLayoutWarning(std::string_view name)
{
    return std::string(name) + " looks like bitmap data but fits no layout";
}

std::variant<LayoutOption, std::string> parseLayoutOption(std::string_view value)
{
    LayoutOption option;
    std::string_view id = value;
    const std::size_t equals = value.find('=');
    if (equals != std::string_view::npos) {
        if (equals == 0)
            return "--layout " + std::string(value) + ": no array name before \"=\"";
        option.array = std::string(value.substr(0, equals));
        id = value.substr(equals + 1);
        if (const std::size_t colon = id.find(':'); colon != std::string_view::npos) {
            const std::string_view digits = id.substr(colon + 1);
            int width = 0;
            const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), width);
            if (digits.empty() || error != std::errc{} || end != digits.data() + digits.size() || width <= 0
                || width > 1 << 16)
                return "--layout " + std::string(value) + ": the width \"" + std::string(digits)
                       + "\" is not a number of pixels";
            option.width = width;
            id = id.substr(0, colon);
        }
    }
    const auto layout = parseLayoutId(id);
    if (!layout)
        return "unknown layout \"" + std::string(id)
               + "\": the layouts are gb, nes, rows, rows-lsb and columns";
    option.layout = *layout;
    return option;
}

LayoutChoice choiceFromOptions(const std::vector<LayoutOption>& options, std::string_view array)
{
    const LayoutOption* chosen = nullptr;
    for (const LayoutOption& option : options) {
        if (option.array ? *option.array == array : !chosen || !chosen->array)
            chosen = &option;
    }
    if (!chosen)
        return {};
    return {chosen->layout, false, chosen->width};
}

} // namespace bitloom
