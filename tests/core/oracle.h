#pragma once

// An editing session of the program stepped next to a small model of what it
// must hold afterwards; shared by the property test and the fuzzer. The model
// uses none of the program's helpers: it keeps shades (0-3, -1 never
// painted), encodes rows by its own arithmetic, and builds the expected code
// text from the registered names in order and the 16 bytes of each.
#include "document/document.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bitloom::oracle {

using Shades = std::array<int, 64>;
inline constexpr Cell kShadeCells[4] = {Cell::White, Cell::Grey, Cell::DarkGrey, Cell::Black};

// The name box holds one line: a pasted text keeps only its first line. A
// lone CR ends a line as LF does (a name holding one could not be written:
// the code text would read it as two lines).
inline std::string singleLine(const std::string& text)
{
    return text.substr(0, text.find_first_of("\r\n"));
}

inline std::vector<std::string_view> linesOf(std::string_view text)
{
    std::vector<std::string_view> lines;
    for (std::size_t at = text.find('\n'); at != std::string_view::npos;) {
        const std::size_t end = text.find('\n', at + 1);
        lines.push_back(text.substr(at + 1, end == std::string_view::npos ? end : end - at - 1));
        at = end;
    }
    return lines;
}

struct Model {
    Shades grid = filled(-1);
    std::array<std::string, 101> entryNames;
    std::array<Shades, 101> entryShades{};
    std::vector<std::string> list;                    // the name box's items
    std::vector<std::string> order;                   // names whose lines the text holds, in order
    std::map<std::string, std::array<int, 16>> bytes; // light bytes, then dark bytes
    std::string name = "Sprite";
    int colour = 0, tool = 0;
    bool popup = false;

    static Shades filled(int shade)
    {
        Shades s;
        s.fill(shade);
        return s;
    }

    std::string text() const
    {
        std::string t;
        for (const auto& n : order) {
            for (int plane = 0; plane < 2; ++plane) {
                t += "\nstatic unsigned char " + n + (plane == 0 ? "light[]={" : "dark[]={");
                for (int row = 0; row < 8; ++row) {
                    char item[8];
                    std::snprintf(item, sizeof item, row ? ",0x%02X" : "0x%02X",
                                  bytes.at(n)[plane * 8 + row]);
                    t += item;
                }
                t += "};";
            }
        }
        return t;
    }

    // Last entry carrying the name (the empty name matches free entries), or -1.
    int lookup(const std::string& n) const
    {
        int found = -1;
        for (int i = 0; i < 101; ++i)
            found = entryNames[static_cast<std::size_t>(i)] == n ? i : found;
        return found;
    }

    // A name as the text reads it back: blanks before it belong to the
    // declaration's head.
    static std::string written(const std::string& n)
    {
        return n.substr(std::min(n.find_first_not_of(" \t"), n.size()));
    }

    // A name whose first word a declaration's head would take as its own (a
    // qualifier, the element type, a capital macro name or call such as
    // PROGMEM or ALIGN(4), an attribute) cannot be written: its
    // declarations would read back under another name. Such a new name is
    // refused as a declaration that cannot be written, and nothing changes.
    static bool unwritable(const std::string& n)
    {
        const auto identifier = [](char c) {
            return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
        };
        std::size_t end = 0;
        while (end < n.size() && identifier(n[end]))
            ++end;
        if (end == 0 || end == n.size() || n[end] == '[')
            return false; // the word is the identifier itself
        const std::string word = n.substr(0, end);
        for (const char* head :
             {"static", "const", "constexpr", "extern", "unsigned", "signed", "char", "uint8_t"})
            if (word == head && (n[end] == ' ' || n[end] == '\t'))
                return true;
        // A capital macro word (two or more of A-Z, 0-9 and _, not starting
        // with a digit), or a capital macro call once its ")" is there.
        const bool capital =
            word.size() >= 2 && !(word[0] >= '0' && word[0] <= '9')
            && word.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_") == std::string::npos;
        if (!capital)
            return false;
        return n[end] != '(' || n.find(')', end) != std::string::npos;
    }

    // A name written NAME[i] (i decimal, without leading zeros) names a tile
    // of an array; the sessions hold no arrays, so it is no tile and refused.
    static bool tileName(const std::string& n)
    {
        const std::size_t open = n.rfind('[');
        if (open == std::string::npos || open == 0 || n.size() < open + 3 || n.back() != ']')
            return false;
        const std::string digits = n.substr(open + 1, n.size() - open - 2);
        return digits.find_first_not_of("0123456789") == std::string::npos
               && (digits.size() == 1 || digits[0] != '0') && digits.size() <= 7;
    }

    // Returns the number of declarations written, -1 when the table is full,
    // -2 when the name cannot be written, -3 when it names no tile.
    int generate()
    {
        name = written(name);
        int writes = 2;
        if (!bytes.contains(name) && unwritable(name))
            return -2;
        if (!bytes.contains(name) && tileName(name))
            return -3;
        if (!bytes.contains(name)) {
            std::size_t slot = 0;
            while (slot < 101 && !entryNames[slot].empty())
                ++slot;
            if (slot == 101)
                return -1;
            list.push_back(name);
            order.push_back(name);
            entryNames[slot] = name;
            writes = 4;
        }
        // Byte r of a plane: cell r * 8 + m (m counted from the right) is bit m.
        auto& b = bytes[name];
        b.fill(0);
        for (int k = 0; k < 64; ++k) {
            const int shade = grid[static_cast<std::size_t>(k)];
            if (shade > 0)
                for (int plane = 0; plane < 2; ++plane)
                    b[static_cast<std::size_t>(plane * 8 + k / 8)] |= ((shade >> plane) & 1) << (k % 8);
        }
        if (const int target = lookup(name); target >= 0)
            for (std::size_t k = 0; k < 64; ++k)
                if (grid[k] >= 0)
                    entryShades[static_cast<std::size_t>(target)][k] = grid[k];
        return writes;
    }

    void recall(bool typing)
    {
        const int source = lookup(written(name));
        if (typing)
            grid = filled(0);
        if (source >= 0 || !typing)
            grid = entryShades[static_cast<std::size_t>(source < 0 ? 0 : source)];
    }
};

class Session {
public:
    Session()
    {
        subscription = doc.subscribe([this](const DocumentChange& change) {
            codeWritten = codeWritten || (change.changes & CodeChanged);
            if (change.changes & Refused)
                refusal = doc.lastRefusal().reason;
        });
    }

    void selectColour(int c)
    {
        endingRun([&] { doc.selectColour(c & 3); });
        model.colour = c & 3;
    }
    void chooseTool(bool brush)
    {
        endingRun([&] { brush ? doc.chooseBrush() : doc.choosePen(); });
        model.tool = brush ? 2 : 1;
        model.popup = false;
    }
    void move(int cell)
    {
        doc.moveOver(cell & 63);
        auto& shade = model.grid[static_cast<std::size_t>(cell & 63)];
        if (model.tool == 2 && shade != model.colour) {
            shade = model.colour;
            brushRun = true;
        }
    }
    // The pointer leaves the grid: brushed cells are generated.
    void leave()
    {
        endingRun([&] { doc.leaveGrid(); });
    }
    void press(int cell, MouseButton button)
    {
        leave();
        const auto step = [&] { doc.press(cell & 63, button); };
        if (model.popup)
            return step(); // ignored: check() finds any change
        if (button == MouseButton::Right)
            model.popup = true;
        else
            model.grid[static_cast<std::size_t>(cell & 63)] = model.colour;
        regenerate(step);
    }
    void clear()
    {
        leave();
        model.grid = Model::filled(0);
        regenerate([&] { doc.clearTile(); });
    }
    void type(const std::string& name)
    {
        const std::string typed = singleLine(name);
        endingRun([&] { doc.typeName(typed); });
        model.name = typed;
        model.recall(true);
    }
    void choose(std::size_t item)
    {
        if (model.list.empty())
            return; // nothing to choose
        const std::size_t index = item % model.list.size();
        endingRun([&] { doc.chooseName(int(index)); });
        model.name = model.list[index];
        model.recall(false);
    }

    // The first difference between the program and the model, or "". The
    // text is compared whenever it has been written since the last check.
    std::string check()
    {
        if (!failure.empty())
            return failure;
        if (codeWritten) {
            codeWritten = false;
            if (const std::string expected = model.text(); doc.code() != expected)
                return "code text differs\n  program: " + doc.code() + "\n  model:   " + expected;
        }
        if (doc.names() != model.list)
            return "name list differs";
        if (doc.name() != model.name)
            return "name differs";
        for (std::size_t k = 0; k < 64; ++k) {
            const int shade = model.grid[k];
            if (doc.grid()[k] != (shade < 0 ? Cell::Unpainted : kShadeCells[shade]))
                return "cell " + std::to_string(k) + " differs";
        }
        for (std::size_t i = 0; i < 101; ++i) {
            const auto& entry = doc.table()[i];
            if (entry.name != model.entryNames[i]
                || !std::equal(entry.shades.begin(), entry.shades.end(), model.entryShades[i].begin(),
                               [](Cell cell, int shade) { return cell == kShadeCells[shade]; }))
                return "entry " + std::to_string(i) + " differs";
        }
        if (doc.colour() != kShadeCells[model.colour] || static_cast<int>(doc.tool()) != model.tool
            || doc.tools().toolPopupVisible() != model.popup)
            return "colour, tool or pop-up differs";
        return "";
    }

    int refusals() const { return refused; }
    Document& document() { return doc; }

private:
    // Runs an action that does not regenerate of its own; an open brush run
    // ends at its start, which regenerates first.
    template <typename Action>
    void endingRun(Action action)
    {
        if (!brushRun)
            return action();
        brushRun = false;
        regenerate(action);
    }

    // Runs a step that regenerates; besides the model's verdict, checks the
    // refusal, that a refusal leaves the text as it was, and that every
    // other sprite's lines stand as they stood.
    template <typename Step>
    void regenerate(Step step)
    {
        const std::vector<std::string> order = model.order;
        const std::string before = doc.code();
        const int writes = model.generate();
        const bool tableFull = writes == -1;
        const bool unwritable = writes == -2;
        const bool noTile = writes == -3;
        refused += tableFull;
        refusal.reset();
        step();
        const std::optional<Refusal::Reason> expected =
            tableFull    ? std::optional(Refusal::Reason::TableFull)
            : unwritable ? std::optional(Refusal::Reason::MalformedDeclaration)
            : noTile     ? std::optional(Refusal::Reason::NotATile)
                         : std::nullopt;
        if (refusal != expected)
            fail("the regeneration gave the wrong refusal");
        if ((tableFull || unwritable || noTile) && doc.code() != before)
            fail("a refused regeneration changed the text");
        const std::string& after = doc.code();
        const auto linesBefore = linesOf(before), linesAfter = linesOf(after);
        for (std::size_t i = 0; i < linesBefore.size() && i / 2 < order.size(); ++i)
            if (order[i / 2] != model.name && (i >= linesAfter.size() || linesAfter[i] != linesBefore[i]))
                fail("another sprite's line changed");
    }
    void fail(const char* what)
    {
        if (failure.empty())
            failure = what;
    }

    Document doc;
    Subscription subscription;
    bool brushRun = false; // brushed cells the code does not hold yet
    std::optional<Refusal::Reason> refusal;
    bool codeWritten = false;
    Model model;
    std::string failure;
    int refused = 0;
};

} // namespace bitloom::oracle
