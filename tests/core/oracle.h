#pragma once

// A session of the editor driven step by step next to a small, separately
// written model of what it must hold afterwards. Shared by the property test
// and the fuzzer. The model uses none of the program's helpers: it keeps
// shades instead of colours, encodes rows by its own arithmetic and builds
// the expected code text from an ordered list of declarations.
#include "codegen/generate.h"
#include "codegen/plainpanes.h"
#include "model/editormodel.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace bitloom::oracle {

// The name box holds one line: a pasted text keeps only its first line.
inline std::string singleLine(const std::string& text) { return text.substr(0, text.find('\n')); }

struct Model {
    static constexpr int kNeverPainted = -1;
    static constexpr std::uint32_t kColours[4] = {0xFFFFFFu, 0x808080u, 0x404040u, 0x000000u};

    struct Entry {
        std::string name;
        std::array<int, 64> shades{};
    };
    struct Line {
        std::string name;
        bool light;
        std::string bytes;
    };

    std::array<int, 64> grid = filled(kNeverPainted);
    std::array<Entry, 101> table{};
    std::vector<std::string> list;
    std::vector<Line> lines;
    std::string name = "Sprite";
    int colour = 0;
    int tool = 0; // 0 none, 1 pen, 2 brush
    bool popup = false;

    static std::array<int, 64> filled(int shade)
    {
        std::array<int, 64> a;
        a.fill(shade);
        return a;
    }

    // Row r is byte r; the cell r * 8 + m (m counted from the right) is bit m.
    std::string bytesOf(bool light) const
    {
        std::string out;
        for (std::size_t r = 0; r < 8; ++r) {
            unsigned byte = 0;
            for (std::size_t m = 0; m < 8; ++m) {
                const int shade = grid[r * 8 + m];
                if (shade != kNeverPainted && (light ? shade % 2 == 1 : shade >= 2))
                    byte |= 1u << m;
            }
            char item[6];
            std::snprintf(item, sizeof item, "0x%02X", byte);
            out += (r ? "," : "") + std::string(item);
        }
        return out;
    }

    std::string text() const
    {
        std::string t;
        for (const auto& l : lines)
            t.append("\nstatic unsigned char ").append(l.name).append(l.light ? "light" : "dark").append("[]={")
                .append(l.bytes).append("};");
        return t;
    }

    // Last entry carrying the name (the empty name matches free entries), or -1.
    int lookup(const std::string& n) const
    {
        int found = -1;
        for (std::size_t i = 0; i < table.size(); ++i)
            found = table[i].name == n ? static_cast<int>(i) : found;
        return found;
    }

    Line* lineOf(bool light)
    {
        for (auto& l : lines)
            if (l.name == name && l.light == light)
                return &l;
        return nullptr;
    }

    // Returns the expected number of text writes, or -1 for a refusal.
    int generate()
    {
        int writes = 2;
        if (!lineOf(true)) {
            std::size_t slot = 0;
            while (slot < table.size() && !table[slot].name.empty())
                ++slot;
            if (slot == table.size())
                return -1;
            list.push_back(name);
            table[slot].name = name;
            lines.push_back({name, true, ""});
            lines.push_back({name, false, ""});
            writes = 4;
        }
        lineOf(true)->bytes = bytesOf(true);
        lineOf(false)->bytes = bytesOf(false);
        if (const int target = lookup(name); target >= 0) {
            auto& shades = table[static_cast<std::size_t>(target)].shades;
            for (std::size_t k = 0; k < 64; ++k)
                shades[k] = grid[k] == kNeverPainted ? shades[k] : grid[k];
        }
        return writes;
    }

    void recall(bool typing)
    {
        int source = lookup(name);
        if (typing) {
            grid = filled(0);
            if (source < 0)
                return;
        }
        grid = table[static_cast<std::size_t>(source < 0 ? 0 : source)].shades;
    }
};

// The lines after each line feed.
inline std::vector<std::string_view> splitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    for (std::size_t at = text.find('\n'); at != std::string_view::npos;) {
        const std::size_t end = text.find('\n', at + 1);
        lines.push_back(text.substr(at + 1, end == std::string_view::npos ? std::string_view::npos : end - at - 1));
        at = end;
    }
    return lines;
}

// Checks that the text is an empty first line followed by declarations of
// eight byte items each, every light line followed by the dark line of its name.
inline std::string checkShape(const std::string& text)
{
    if (text.empty())
        return "";
    if (text[0] != '\n')
        return "text does not begin with an empty line";
    const auto lines = splitLines(text);
    if (lines.size() % 2 != 0)
        return "odd number of declaration lines";
    const std::string_view type = "static unsigned char ";
    const std::string_view digits = "0123456789ABCDEF";
    std::string_view lightName;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view l = lines[i];
        const std::string_view tail = l.size() >= 45 ? l.substr(l.size() - 45) : "";
        bool bytesOk = tail.starts_with("[]={") && tail.ends_with("};");
        for (std::size_t b = 0; bytesOk && b < 8; ++b) {
            const std::string_view item = tail.substr(4 + 5 * b, 5);
            bytesOk = item.starts_with("0x") && digits.find(item[2]) != std::string_view::npos
                      && digits.find(item[3]) != std::string_view::npos && item[4] == (b == 7 ? '}' : ',');
        }
        const std::string_view word = i % 2 == 0 ? "light" : "dark";
        const std::string_view head = l.substr(0, l.size() - std::min(l.size(), std::size_t{45}));
        if (!bytesOk || !l.starts_with(type) || !head.ends_with(word) || head.size() < type.size() + word.size())
            return "line " + std::to_string(i + 2) + " is no declaration: " + std::string(l);
        const std::string_view name = head.substr(type.size(), head.size() - type.size() - word.size());
        if (i % 2 == 0)
            lightName = name;
        else if (name != lightName)
            return "line " + std::to_string(i + 2) + " does not pair with the line before it";
    }
    return "";
}

// The program under test and the model, stepped together.
class Session {
public:
    Session()
    {
        editor.setGenerate([this] {
            result = bitloom::generate(editor.grid(), editor.palette(), editor.module(), names, pane);
        });
    }

    void selectColour(int c)
    {
        editor.renk_Click(c & 3);
        model.colour = c & 3;
    }
    void chooseTool(bool brush)
    {
        brush ? editor.boya_Click() : editor.kalem_Click();
        model.tool = brush ? 2 : 1;
        model.popup = false;
    }
    void move(int cell)
    {
        editor.pixel_MouseMove(cell & 63);
        if (model.tool == 2)
            model.grid[static_cast<std::size_t>(cell & 63)] = model.colour;
    }
    void press(int cell, MouseButton button)
    {
        if (model.popup) {
            const std::string before = pane.text();
            editor.pixel_MouseDown(cell & 63, button, 1.0f, 1.0f);
            expect(pane.text() == before, "a press while the pop-up is shown changed the text");
            return;
        }
        if (button == MouseButton::Right)
            model.popup = true;
        else
            model.grid[static_cast<std::size_t>(cell & 63)] = model.colour;
        regenerate([&] { editor.pixel_MouseDown(cell & 63, button, 1.0f, 1.0f); });
    }
    void clear()
    {
        model.grid = Model::filled(0);
        regenerate([&] { editor.clearTile(); });
    }
    void rename(const std::string& name)
    {
        names.setText(singleLine(name));
        model.name = singleLine(name);
    }
    void type(const std::string& name)
    {
        rename(name);
        editor.sprName_Change(names);
        model.recall(true);
    }
    void choose(std::size_t item)
    {
        if (!model.list.empty())
            rename(model.list[item % model.list.size()]);
        editor.sprName_Click(names);
        model.recall(false);
    }

    // The first difference between the program and the model, or "". The
    // text is compared whenever it has been written since the last check.
    std::string check()
    {
        if (!failure.empty())
            return failure;
        if (pane.writes() != checkedWrites) {
            checkedWrites = pane.writes();
            const std::string text = pane.text();
            const std::string expected = model.text();
            if (text != expected)
                return "code text differs\n  program: " + text + "\n  model:   " + expected;
            if (auto shape = checkShape(text); !shape.empty())
                return shape;
        }
        if (names.items() != model.list)
            return "name list differs";
        for (std::size_t k = 0; k < 64; ++k) {
            const int shade = model.grid[k];
            const Colour expected = shade == Model::kNeverPainted ? 0x80000005u : Model::kColours[shade];
            if (editor.grid()[k] != expected)
                return "cell " + std::to_string(k) + " differs";
        }
        for (std::size_t i = 0; i < 101; ++i) {
            const auto& entry = editor.module().spriteTable[i];
            if (entry.name != model.table[i].name)
                return "name of entry " + std::to_string(i) + " differs";
            for (std::size_t k = 0; k < 64; ++k)
                if (entry.codes[k] != model.table[i].shades[k])
                    return "entry " + std::to_string(i) + " cell " + std::to_string(k) + " differs";
        }
        if (editor.module().selColor != model.colour || static_cast<int>(editor.module().selTool) != model.tool
            || editor.toolsVisible() != model.popup)
            return "colour, tool or pop-up differs";
        return "";
    }

    int refusals() const { return refused; }

private:
    template <typename Step>
    void regenerate(Step step)
    {
        const std::vector<Model::Line> owners = model.lines;
        const std::string textBefore = pane.text();
        const auto linesBefore = splitLines(textBefore);
        const int writesBefore = pane.writes();
        const int writes = model.generate();
        refused += writes < 0 ? 1 : 0;
        step();
        const GenerateResult want = writes < 0 ? GenerateResult::TableFull : GenerateResult::Updated;
        expect(result == want, "generate gave the wrong result");
        expect(pane.writes() - writesBefore == (writes < 0 ? 0 : writes), "wrong number of text writes");
        const std::string textAfter = pane.text();
        const auto linesAfter = splitLines(textAfter);
        for (std::size_t i = 0; i < owners.size() && i < linesBefore.size(); ++i)
            expect(owners[i].name == model.name || (i < linesAfter.size() && linesAfter[i] == linesBefore[i]),
                   "another sprite's line changed");
    }

    void expect(bool ok, const char* what)
    {
        if (!ok && failure.empty())
            failure = what;
    }

    EditorModel editor;
    PlainNameBox names{"Sprite"};
    PlainCodePane pane;
    GenerateResult result = GenerateResult::Updated;
    Model model;
    std::string failure;
    int refused = 0;
    int checkedWrites = 0;
};

} // namespace bitloom::oracle
