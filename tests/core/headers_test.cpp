// Hand-written headers opened, edited and saved by the document: the saved
// bytes differ from the file's own only in the numbers of the sprites drawn
// and in the lines of sprites added.
#include "codegen/grammar.h"
#include "document/document.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace bitloom {
namespace {

std::string readHeader(const std::string& file)
{
    std::ifstream in(std::string(BITLOOM_TEST_HEADERS) + "/" + file, std::ios::binary);
    EXPECT_TRUE(in.good()) << file;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const char* const kGoldenFiles[] = {"progmem.h",    "clang_format.h",  "row_pictures.h", "notations.h",
                                    "crlf_bom.h",   "include_guard.h", "mixed.h",        "progmem_suffixes.h",
                                    "two_a_line.h", "cr_only.h"};

// The text with each number of the named sprites' declarations replaced by
// "#": what must stay byte for byte when only those sprites are drawn.
std::string withoutNumbers(std::string_view text, const std::set<std::string>& names)
{
    std::string out;
    std::size_t copied = 0;
    for (const grammar::Declaration& declaration : grammar::scanDeclarations(text)) {
        if (!declaration.readable || !names.contains(std::string(declaration.name)))
            continue;
        for (const grammar::NumberToken& number : declaration.numbers) {
            out.append(text.substr(copied, number.position - copied));
            out += '#';
            copied = number.position + number.length;
        }
    }
    out.append(text.substr(copied));
    return out;
}

// The saved text without the declarations that `original` does not hold,
// each with the line end an insertion put before it.
std::string withoutAddedDeclarations(const std::string& saved, const std::string& original)
{
    std::set<std::pair<std::string, Plane>> known;
    for (const grammar::Declaration& declaration : grammar::scanDeclarations(original))
        known.emplace(std::string(declaration.name), declaration.plane);
    std::string text = saved;
    const auto found = grammar::scanDeclarations(saved);
    for (auto it = found.rbegin(); it != found.rend(); ++it) {
        if (!known.contains({std::string(it->name), it->plane}))
            applyEdit(text, grammar::removeDeclaration(saved, *it));
    }
    return text;
}

// The same names, in the same order, with the same drawings.
void expectSameSheet(const Document& expected, const Document& actual)
{
    ASSERT_EQ(actual.names(), expected.names());
    for (const std::string& name : expected.names()) {
        const auto was = findEntry(expected.table(), name), is = findEntry(actual.table(), name);
        ASSERT_TRUE(was && is) << name;
        EXPECT_EQ(expected.table()[std::size_t(*was)].shades, actual.table()[std::size_t(*is)].shades)
            << name;
    }
}

// Presses the first cell of the current sprite that is not black, in black:
// a change to at least one plane.
void pressBlack(Document& d)
{
    d.selectColour(3);
    const auto cell = std::find_if(d.grid().begin(), d.grid().end(), [](Cell c) { return c != Cell::Black; });
    ASSERT_NE(cell, d.grid().end());
    d.press(int(cell - d.grid().begin()), MouseButton::Left);
}

// Every sprite of every golden header: one press, one save, and only that
// sprite's numbers differ; the saved text opens to the sheet as drawn.
TEST(Headers, APressChangesOnlyThatSpritesNumbers)
{
    for (const char* file : kGoldenFiles) {
        SCOPED_TRACE(file);
        const std::string original = readHeader(file);
        Document probe;
        OpenReport report;
        ASSERT_EQ(probe.open(original, file, &report), std::nullopt);
        EXPECT_TRUE(report.empty());
        ASSERT_FALSE(probe.names().empty());
        for (std::size_t i = 0; i < probe.names().size(); ++i) {
            const std::string name = probe.names()[i];
            SCOPED_TRACE(name);
            Document d;
            ASSERT_EQ(d.open(original, file), std::nullopt);
            d.chooseName(int(i));
            pressBlack(d);
            const std::string saved = d.textToSave();
            EXPECT_NE(saved, original);
            EXPECT_EQ(withoutNumbers(saved, {name}), withoutNumbers(original, {name}));
            Document again;
            ASSERT_EQ(again.open(saved, file), std::nullopt);
            expectSameSheet(d, again);
        }
    }
}

std::string addedSprite(const std::string& text)
{
    Document d;
    EXPECT_EQ(d.open(text, "sheet.h"), std::nullopt);
    d.typeName("new_");
    d.selectColour(3);
    d.press(0, MouseButton::Left);
    return d.textToSave();
}

// A new sprite's two lines follow the last declaration, shaped like it and
// with the file's line ends; without declarations they go at the end, before
// a final line end, in the program's own shape.
TEST(Headers, ANewSpriteFollowsTheFile)
{
    const std::string guard = readHeader("include_guard.h");
    EXPECT_EQ(
        addedSprite(guard),
        guard.substr(0, guard.find("\n\n} // namespace"))
            + "\nconstexpr std::uint8_t new_light[8] = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};"
              "\nconstexpr std::uint8_t new_dark[8] = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};"
            + guard.substr(guard.find("\n\n} // namespace")));

    const std::string crlf = readHeader("crlf_bom.h");
    EXPECT_EQ(
        addedSprite(crlf),
        crlf
            + "static const uint8_t new_light[] = { 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00 };\r\n"
              "static const uint8_t new_dark[] = { 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00 };\r\n");

    // A multi-line body with comments gives one line without them.
    const std::string rows = readHeader("row_pictures.h");
    EXPECT_TRUE(addedSprite(rows).ends_with(
        "    0x00  /* ........ */\n};\n"
        "static const unsigned char new_light[] = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};\n"
        "static const unsigned char new_dark[] = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};\n"));

    const std::string own = "\nstatic unsigned char new_light[]={0x01,0x00,0x00,0x00,0x00,0x00,0x00,0x00};"
                            "\nstatic unsigned char new_dark[]={0x01,0x00,0x00,0x00,0x00,0x00,0x00,0x00};";
    EXPECT_EQ(addedSprite(""), own);
    EXPECT_EQ(addedSprite("#pragma once\n"), "#pragma once" + own + "\n");
    std::string crlfOwn = own;
    for (std::size_t at = crlfOwn.find('\n'); at != std::string::npos; at = crlfOwn.find('\n', at + 2))
        crlfOwn.insert(at, "\r");
    EXPECT_EQ(addedSprite("#pragma once\r\nint x;\r\n"), "#pragma once\r\nint x;" + crlfOwn + "\r\n");
    EXPECT_EQ(addedSprite("int x;"), "int x;" + own);
}

// A header built at random from foreign lines and declarations in every
// accepted shape.
class RandomHeader {
public:
    explicit RandomHeader(unsigned seed) : mRng(seed) {}

    struct Built {
        std::string text;
        std::vector<std::string> names;
    };

    Built build()
    {
        Built built;
        const std::string eol = pick(3) == 0 ? "\r\n" : "\n";
        if (pick(4) == 0)
            built.text = "\xEF\xBB\xBF";
        const int sprites = 1 + pick(6);
        for (int s = 0; s < sprites; ++s) {
            for (int n = pick(3); n > 0; --n)
                built.text += foreignLine() + eol;
            const std::string name = "s" + std::to_string(s) + (pick(2) ? "_" : "");
            built.names.push_back(name);
            built.text += declaration(name, "light", eol) + eol;
            if (pick(5) != 0) // now and then a dark declaration is missing
                built.text += declaration(name, "dark", eol) + eol;
        }
        for (int n = pick(3); n > 0; --n)
            built.text += foreignLine() + eol;
        if (pick(3) == 0) // no line end at the end
            built.text.erase(built.text.size() - eol.size());
        return built;
    }

    int pick(int n) { return int(mRng() % unsigned(n)); }

private:
    std::string foreignLine()
    {
        static const char* const kLines[] = {
            "#pragma once",
            "",
            "#include <stdint.h>",
            "int frames = 3; // not a sprite",
            "/* a } ; comment */",
            "// static unsigned char xlight[]={0,0,0,0,0,0,0,0};",
            "unsigned char table[] = {1, 2};",
            "static uint8_t darkness[] = {0};",
            "uint8_t lighting = 4;",
            "}",
            "  {",
            "#define ROWS 8",
        };
        return kLines[pick(int(std::size(kLines)))];
    }

    std::string blanks(bool atLeastOne)
    {
        static const char* const kBlanks[] = {"", " ", "  ", "\t"};
        std::string b = kBlanks[pick(4)];
        return atLeastOne && b.empty() ? " " : b;
    }

    std::string number()
    {
        const int value = pick(256);
        char out[16];
        switch (pick(4)) {
        case 0: std::snprintf(out, sizeof out, "%d", value); return out;
        case 1: std::snprintf(out, sizeof out, pick(2) ? "0x%02x" : "0X%X", unsigned(value)); return out;
        case 2: std::snprintf(out, sizeof out, "0%o", unsigned(value)); return out;
        default: {
            std::string bits = pick(2) ? "0b" : "0B";
            for (int bit = 7; bit >= 0; --bit)
                bits += char('0' + ((value >> bit) & 1));
            return bits;
        }
        }
    }

    std::string declaration(const std::string& name, const std::string& suffix, const std::string& eol)
    {
        std::string head = pick(3) == 0 ? blanks(false) : "";
        std::vector<std::string> qualifiers;
        for (const char* word : {"static", "const", "constexpr"})
            if (pick(2))
                qualifiers.push_back(word);
        std::shuffle(qualifiers.begin(), qualifiers.end(), mRng);
        for (const std::string& word : qualifiers)
            head += word + blanks(true);
        static const char* const kTypes[] = {"unsigned char", "uint8_t", "std::uint8_t"};
        head += std::string(kTypes[pick(3)]) + blanks(true) + name + suffix + blanks(false) + "["
                + (pick(2) ? "8" : "") + "]" + blanks(false) + (pick(3) == 0 ? "PROGMEM" + blanks(true) : "")
                + "=" + blanks(false) + "{";
        const bool multiLine = pick(2);
        std::string body;
        for (int i = 0; i < 8; ++i) {
            body += (multiLine && i % 4 == 0 ? eol + "    " : blanks(false)) + number();
            if (i < 7 || pick(2))
                body += ",";
            if (pick(6) == 0)
                body += " /* row */";
            if (multiLine && i % 4 == 3 && pick(2))
                body += " // rows";
        }
        body += multiLine ? eol : blanks(false);
        return head + body + "}" + blanks(false) + ";" + (pick(4) == 0 ? " // end" : "");
    }

    std::mt19937 mRng;
};

// Open, draw some sprites (and now and then a new one), save, open again:
// the same sheet, and the saved bytes differ from the file only in the
// numbers of the sprites drawn and in the declarations added.
TEST(Headers, RandomHeadersKeepTheirShape)
{
    for (unsigned seed = 1; seed <= 300; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        RandomHeader random(seed);
        const RandomHeader::Built built = random.build();
        Document d;
        OpenReport report;
        ASSERT_EQ(d.open(built.text, "random.h", &report), std::nullopt);
        ASSERT_TRUE(report.empty());
        ASSERT_EQ(d.names(), built.names) << built.text;

        std::set<std::string> drawn;
        for (int edits = 1 + random.pick(4); edits > 0; --edits) {
            if (random.pick(5) == 0) {
                d.typeName("added" + std::to_string(edits));
            } else {
                d.chooseName(random.pick(int(d.names().size())));
            }
            drawn.insert(d.name());
            d.selectColour(random.pick(4));
            for (int presses = 1 + random.pick(3); presses > 0; --presses)
                d.press(random.pick(64), MouseButton::Left);
        }
        const std::string saved = d.textToSave();

        Document again;
        ASSERT_EQ(again.open(saved, "random.h", &report), std::nullopt);
        EXPECT_TRUE(report.empty());
        expectSameSheet(d, again);
        EXPECT_EQ(withoutNumbers(withoutAddedDeclarations(saved, built.text), drawn),
                  withoutNumbers(built.text, drawn))
            << built.text << "\n----\n"
            << saved;
        if (HasFailure())
            return;
    }
}

} // namespace
} // namespace bitloom
