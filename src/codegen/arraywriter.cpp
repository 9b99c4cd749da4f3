#include "arraywriter.h"

#include "codegen/grammar.h"
#include "codegen/identifier.h"
#include "codegen/tilenames.h"

#include <array>
#include <cstdint>
#include <set>

namespace bitloom {

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

void appendHex(std::string& out, std::uint8_t value)
{
    out += "0x";
    out += kHexDigits[value >> 4];
    out += kHexDigits[value & 15];
}

// A comment's text on one line: a line break would end it early, and a
// backslash at its end would carry it on to the next line.
std::string oneLine(std::string_view text)
{
    std::string line(text);
    for (char& c : line) {
        if (c == '\n' || c == '\r')
            c = ' ';
    }
    while (!line.empty() && (line.back() == '\\' || line.back() == ' ' || line.back() == '\t'))
        line.pop_back();
    return line;
}

// The head words before the identifier, and those after its bounds.
std::string_view headWords(ArrayStyle style)
{
    return style == ArrayStyle::Own ? "static unsigned char " : "const uint8_t ";
}
std::string_view afterBounds(ArrayStyle style)
{
    return style == ArrayStyle::Progmem ? " PROGMEM" : "";
}

using PlaneBytes = std::array<std::uint8_t, grammar::kRowCount>;

// The light and dark planes of a drawing. The Game Boy layout holds exactly
// them, interleaved: low bits (light) and high bits (dark) of each row, the
// leftmost cell the top bit, as in a pair's planes.
std::array<PlaneBytes, 2> planes(const Shades& shades)
{
    const EncodedTile gb = encodeTile(TileLayout::Gb, shades);
    std::array<PlaneBytes, 2> out{};
    for (std::size_t row = 0; row < grammar::kRowCount; ++row) {
        out[0][row] = gb.bytes[2 * row];
        out[1][row] = gb.bytes[2 * row + 1];
    }
    return out;
}

std::string pairDeclaration(std::string_view name, Plane plane, const PlaneBytes& bytes, ArrayStyle style)
{
    if (style == ArrayStyle::Own) {
        // The shape the window gives a new sprite in an empty text, without
        // the line end put before it.
        std::string own = grammar::newDeclaration({}, name, plane, bytes).inserted;
        own.erase(0, own.find_first_not_of("\r\n"));
        return own;
    }
    std::string out(headWords(style));
    out.append(name).append(plane == Plane::Light ? "light" : "dark").append("[8]");
    out.append(afterBounds(style)).append(" = {");
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0)
            out += ',';
        appendHex(out, bytes[i]);
    }
    out += "};";
    return out;
}

std::string countText(std::size_t count, bool pairs)
{
    return std::to_string(count)
           + (pairs ? (count == 1 ? " sprite" : " sprites") : (count == 1 ? " tile" : " tiles"));
}

bool isLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

} // namespace

std::string tileLines(TileLayout layout, const std::vector<SourceDrawing>& drawings, std::string_view lineEnd,
                      std::vector<std::string>& mappedSprites)
{
    std::string out;
    for (const SourceDrawing& drawing : drawings) {
        const EncodedTile tile = encodeTile(layout, drawing.shades);
        if (tile.mappedShades)
            mappedSprites.push_back(drawing.name);
        out += "    ";
        for (const std::uint8_t byte : tile.bytes) {
            appendHex(out, byte);
            out += ',';
        }
        out.append(" // ").append(oneLine(drawing.comment())).append(lineEnd);
    }
    return out;
}

std::string_view outputLayoutId(const OutputLayout& layout)
{
    return layout ? layoutId(*layout) : kPairsLayoutId;
}

bool parseOutputLayoutId(std::string_view id, OutputLayout& layout)
{
    if (id == kPairsLayoutId) {
        layout.reset();
        return true;
    }
    if (const auto tiles = parseLayoutId(id)) {
        layout = *tiles;
        return true;
    }
    return false;
}

std::string_view styleId(ArrayStyle style)
{
    switch (style) {
    case ArrayStyle::Own: return "own";
    case ArrayStyle::Const: return "const";
    case ArrayStyle::Progmem: return "progmem";
    }
    return {};
}

std::optional<ArrayStyle> parseStyleId(std::string_view id)
{
    for (const ArrayStyle style : {ArrayStyle::Own, ArrayStyle::Const, ArrayStyle::Progmem}) {
        if (styleId(style) == id)
            return style;
    }
    return std::nullopt;
}

ArrayStyle defaultStyle(const OutputLayout& layout)
{
    return layout ? ArrayStyle::Const : ArrayStyle::Own;
}

std::string includeGuard(std::string_view fileName)
{
    std::string guard;
    for (std::size_t i = 0; i < fileName.size(); ++i) {
        const char c = fileName[i];
        if (isLetter(c) || (c >= '0' && c <= '9'))
            guard += c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
        else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) // one '_' per UTF-8 character
            guard += '_';
    }
    if (guard.empty() || !isLetter(guard.front()))
        guard.insert(0, "H_");
    return guard;
}

std::string identifierFromStem(std::string_view stem)
{
    std::string name = tileStem(stem);
    if (isCKeyword(name))
        name += '_';
    return name;
}

std::vector<std::string> pairNames(const std::vector<std::string>& sourceNames)
{
    // Names that are no tiles keep their name: they claim it first.
    std::set<std::string, std::less<>> taken;
    for (const std::string& name : sourceNames) {
        if (!parseArrayTileName(name))
            taken.insert(name);
    }
    std::set<std::string, std::less<>> given;
    std::vector<std::string> names;
    names.reserve(sourceNames.size());
    for (const std::string& name : sourceNames) {
        std::string base = name;
        bool free = false;
        if (const auto tile = parseArrayTileName(name)) {
            base = std::string(tile->array) + '_' + std::to_string(tile->index);
            free = !taken.contains(base);
        } else {
            free = !given.contains(base);
        }
        std::string chosen = base;
        for (int suffix = 2; !free; ++suffix) {
            chosen = base + '_' + std::to_string(suffix);
            free = !taken.contains(chosen) && !given.contains(chosen);
        }
        given.insert(chosen);
        taken.insert(chosen);
        names.push_back(std::move(chosen));
    }
    return names;
}

WrittenHeader writeHeader(const std::vector<SourceDrawing>& drawings, const HeaderRequest& request)
{
    const bool pairs = !request.layout;
    const std::string guard = includeGuard(request.fileName);
    WrittenHeader header;
    std::string& out = header.text;
    out += "#ifndef " + guard + "\n#define " + guard + "\n\n#include <stdint.h>\n";
    if (request.style == ArrayStyle::Progmem)
        out += "#include <avr/pgmspace.h>\n";
    out += "\n// layout: ";
    out.append(outputLayoutId(request.layout)).append(", ").append(countText(drawings.size(), pairs)) += '\n';
    out += "#define " + request.arrayName + "_TILE_COUNT " + std::to_string(drawings.size()) + "\n\n";

    if (pairs) {
        std::vector<std::string> sourceNames;
        sourceNames.reserve(drawings.size());
        for (const SourceDrawing& drawing : drawings)
            sourceNames.push_back(drawing.name);
        const std::vector<std::string> names = pairNames(sourceNames);
        for (std::size_t i = 0; i < drawings.size(); ++i) {
            const auto [light, dark] = planes(drawings[i].shades);
            out += pairDeclaration(names[i], Plane::Light, light, request.style);
            if (drawings[i].comment() != names[i])
                out += " // " + oneLine(drawings[i].comment());
            out += '\n';
            out += pairDeclaration(names[i], Plane::Dark, dark, request.style) + '\n';
        }
    } else {
        const TileLayout layout = *request.layout;
        const std::size_t bytes = drawings.size() * std::size_t(bytesPerTile(layout));
        out.append(headWords(request.style)).append(request.arrayName);
        out += '[' + std::to_string(bytes) + ']';
        out.append(afterBounds(request.style)).append(" = {\n");
        out += tileLines(layout, drawings, "\n", header.mappedSprites);
        out += "};\n";
    }
    out += "\n#endif\n";
    return header;
}

} // namespace bitloom
