#include "reader.h"

#include "codegen/grammar.h"

#include <unordered_map>

namespace bitloom {

namespace {

// Length of the valid UTF-8 sequence at `at`, or 0. Overlong forms,
// surrogates and values beyond U+10FFFF are not valid.
std::size_t utf8SequenceLength(std::string_view text, std::size_t at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (at + length > text.size() || byte(at + 1) < low || byte(at + 1) > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
    }
    return length;
}

} // namespace

std::optional<CodeTextRefusal> refusalForCodeText(std::string_view bytes)
{
    if (bytes.size() > kMaxCodeTextBytes)
        return CodeTextRefusal::TooLarge;
    for (std::size_t at = 0; at < bytes.size();) {
        if (bytes[at] == '\0')
            return CodeTextRefusal::NulByte;
        const std::size_t length = utf8SequenceLength(bytes, at);
        if (length == 0)
            return CodeTextRefusal::NotUtf8;
        at += length;
    }
    return std::nullopt;
}

std::vector<DeclaredSprite> readDeclarations(std::string_view text, std::vector<int>* unreadableLines)
{
    // The first light and the first dark declaration of each name, as the
    // updater finds them.
    const std::vector<grammar::Declaration> declarations = grammar::scanDeclarations(text);
    std::vector<const grammar::Declaration*> lights;
    std::unordered_map<std::string_view, const grammar::Declaration*> lightOf, darkOf;
    for (const grammar::Declaration& declaration : declarations) {
        if (!declaration.readable && unreadableLines)
            unreadableLines->push_back(declaration.line);
        auto& firsts = declaration.plane == Plane::Light ? lightOf : darkOf;
        if (firsts.emplace(declaration.name, &declaration).second && declaration.plane == Plane::Light)
            lights.push_back(&declaration);
    }

    std::vector<DeclaredSprite> sprites;
    sprites.reserve(lights.size());
    for (const grammar::Declaration* light : lights) {
        // An unreadable light declaration registers nothing: a press on the
        // name is refused rather than adding a second declaration of it.
        if (!light->readable)
            continue;
        DeclaredSprite sprite{std::string(light->name), {}};
        // Without a readable dark declaration there are no dark bits.
        std::array<std::uint8_t, grammar::kRowCount> darkBytes{};
        if (const auto dark = darkOf.find(light->name); dark != darkOf.end() && dark->second->readable)
            darkBytes = dark->second->bytes();
        const auto lightBytes = light->bytes();
        // Cell 8r + m holds bit m: the leftmost cell is the top bit.
        for (std::size_t row = 0; row < grammar::kRowCount; ++row) {
            for (int m = 0; m < kGridSide; ++m) {
                sprite.shades[row * kGridSide + static_cast<std::size_t>(m)] =
                    shadeOfBits((lightBytes[row] >> m) & 1, (darkBytes[row] >> m) & 1);
            }
        }
        sprites.push_back(std::move(sprite));
    }
    return sprites;
}

} // namespace bitloom
