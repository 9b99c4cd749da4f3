#include "arrayimport.h"

#include "codegen/grammar.h"
#include "codegen/layoutdetect.h"
#include "codegen/tilearrays.h"

#include <cstdint>

namespace bitloom {

namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The words of a piece of head, one space between them.
std::string words(std::string_view text)
{
    std::string out;
    bool gap = false;
    for (const char c : text) {
        if (isSpace(c)) {
            gap = !out.empty();
            continue;
        }
        if (gap)
            out += ' ';
        gap = false;
        out += c;
    }
    return out;
}

// A new array shaped like `model` (or in "const uint8_t" without one).
std::string newArray(std::string_view text, const grammar::ByteArray* model, std::string_view name,
                     std::size_t bytes, std::string_view body, std::string_view lineEnd)
{
    std::string before = "const uint8_t";
    std::string after;
    if (model) {
        before = words(text.substr(model->start, model->identifierStart - model->start));
        if (!model->bounds.empty()) {
            // After the last "]": attribute words up to the "=".
            const std::string_view last = model->bounds.back();
            const std::size_t close = std::size_t(last.data() - text.data()) + last.size() + 1;
            const std::size_t equals = text.find('=', close);
            if (equals != std::string_view::npos && equals < model->openBrace)
                after = words(text.substr(close, equals - close));
        }
    }
    std::string out = before + ' ';
    out.append(name) += '[' + std::to_string(bytes) + ']';
    if (!after.empty())
        out += ' ' + after;
    out.append(" = {").append(lineEnd).append(body).append("};");
    return out;
}

} // namespace

ArrayImport importIntoArray(std::string_view text, std::string_view arrayName, TileLayout layout,
                            const std::vector<SourceDrawing>& drawings)
{
    ArrayImport result;
    const std::vector<grammar::ByteArray> arrays = grammar::scanByteArrays(text);
    const grammar::ByteArray* target = nullptr;
    const grammar::ByteArray* last = nullptr;
    for (const grammar::ByteArray& array : arrays) {
        if (!target && array.name == arrayName)
            target = &array;
        if (array.delimited)
            last = &array;
    }

    if (target) {
        if (!target->readable) {
            result.outcome = ArrayImport::Outcome::Unreadable;
            result.problem = target->problem;
            return result;
        }
        // The array is read in the layout asked for, whatever the file says.
        const auto choose = [&](std::string_view array) {
            return array == arrayName ? LayoutChoice{layout, false, {}} : LayoutChoice{};
        };
        const TileArrays tiles = readTileArrays(text, arrays, choose);
        const TileArray* array = tiles.find(arrayName);
        if (!array || !array->image.editable()) {
            result.outcome = ArrayImport::Outcome::NotTiles;
            return result;
        }
        if (std::size_t(array->tileCount()) != drawings.size()) {
            result.outcome = ArrayImport::Outcome::CountDiffers;
            result.arrayTiles = array->tileCount();
            return result;
        }
        std::vector<std::uint8_t> bytes = array->bytes;
        for (std::size_t i = 0; i < drawings.size(); ++i) {
            if (writeTile(tileBits(array->image, int(i)), drawings[i].shades, bytes))
                result.mappedSprites.push_back(drawings[i].name);
        }
        result.outcome = ArrayImport::Outcome::Rewritten;
        result.edit = grammar::rewriteTokens(text, array->numbers, bytes, array->lowerHex);
        return result;
    }

    const std::string lineEnd(grammar::textLineEnd(text));
    const std::string body = tileLines(layout, drawings, lineEnd, result.mappedSprites);
    const std::string declaration =
        newArray(text, last, arrayName, drawings.size() * std::size_t(bytesPerTile(layout)), body, lineEnd);
    result.outcome = ArrayImport::Outcome::Appended;
    if (last) {
        // On a line of its own after the one the last declaration ends on.
        std::size_t at = last->lineEnd;
        if (at > 0 && at < text.size() && text[at] == '\n' && text[at - 1] == '\r')
            --at;
        result.edit = {at, 0, lineEnd + declaration};
    } else {
        // At the end, before a final line end so the text keeps ending with one.
        std::size_t at = text.size();
        if (at > 0 && text[at - 1] == '\n')
            at -= at > 1 && text[at - 2] == '\r' ? 2 : 1;
        result.edit = {at, 0, (at > 0 ? lineEnd : std::string()) + declaration};
        if (text.empty())
            result.edit.inserted += lineEnd;
    }
    return result;
}

} // namespace bitloom
