#include "codegen/grammar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

using namespace bitloom;
using namespace bitloom::grammar;

namespace {

using Rows = std::array<std::uint8_t, kRowCount>;

// Eight rows drawn as bits, '#' set, leftmost the highest bit.
Rows picture(const std::array<std::string_view, kRowCount>& rows)
{
    Rows bytes{};
    for (std::size_t row = 0; row < kRowCount; ++row) {
        for (std::size_t bit = 0; bit < 8; ++bit) {
            if (rows[row].at(bit) == '#')
                bytes[row] = static_cast<std::uint8_t>(bytes[row] | (0x80 >> bit));
        }
    }
    return bytes;
}

const Rows kHeart = picture({
    ".##..##.",
    "########",
    "########",
    "########",
    ".######.",
    "..####..",
    "...##...",
    "........",
});
const Rows kZero{};
const Rows kFull{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
const Rows kCount{1, 2, 3, 4, 5, 6, 7, 8};

std::string applied(std::string text, const TextEdit& edit)
{
    applyEdit(text, edit);
    return text;
}

struct Expected {
    std::string name;
    Plane plane;
    Rows bytes;
    int line;
};

void expectDeclarations(std::string_view text, const std::vector<Expected>& expected)
{
    const auto found = scanDeclarations(text);
    ASSERT_EQ(found.size(), expected.size()) << text;
    for (std::size_t i = 0; i < found.size(); ++i) {
        SCOPED_TRACE(expected[i].name);
        EXPECT_TRUE(found[i].readable);
        EXPECT_EQ(found[i].name, expected[i].name);
        EXPECT_EQ(found[i].plane, expected[i].plane);
        EXPECT_EQ(found[i].bytes(), expected[i].bytes);
        EXPECT_EQ(found[i].line, expected[i].line);
    }
}

// Adds a whole sprite: its light line, then its dark line.
std::string withSprite(std::string text, std::string_view name, const Rows& light, const Rows& dark)
{
    applyEdit(text, newDeclaration(text, name, Plane::Light, light));
    applyEdit(text, newDeclaration(text, name, Plane::Dark, dark));
    return text;
}

const std::string kOwnZero = "0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00";

// ---------------------------------------------------------------------------
// Reading the shapes headers use

TEST(GrammarRead, TheProgramsOwnLines)
{
    const std::string text = "\nstatic unsigned char Alight[]={0x80,0x00,0x00,0x00,0x00,0x00,0x00,0x01};"
                             "\nstatic unsigned char Adark[]={0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x01};";
    expectDeclarations(text, {{"A", Plane::Light, {0x80, 0, 0, 0, 0, 0, 0, 1}, 2},
                              {"A", Plane::Dark, {0, 0, 0, 0, 0, 0, 0, 1}, 3}});
    const auto light = scanDeclarations(text).front();
    EXPECT_EQ(light.lineStart, 1u);
    EXPECT_EQ(text.substr(light.identifierStart, light.identifierEnd - light.identifierStart), "Alight");
    EXPECT_EQ(text[light.openBrace], '{');
    EXPECT_EQ(text[light.closeBrace], '}');
    EXPECT_EQ(light.end, text.find(';') + 1);
    EXPECT_EQ(light.lineEnd, text.find('\n', 1));
}

TEST(GrammarRead, ConstUint8WithProgmem)
{
    const std::string text =
        "#include <avr/pgmspace.h>\n"
        "const uint8_t heart_light[8] PROGMEM = {0x66, 0xff, 0xff, 0xff, 0x7e, 0x3c, 0x18, 0x00};\n"
        "const uint8_t heart_dark[] PROGMEM={0,0,0,0,0,0,0,0};\n";
    expectDeclarations(text, {{"heart_", Plane::Light, kHeart, 2}, {"heart_", Plane::Dark, kZero, 3}});
}

TEST(GrammarRead, FormatterStyleMultiLineWithRowPictures)
{
    const std::string text = "#ifndef SPRITES_H\n"
                             "#define SPRITES_H\n"
                             "\n"
                             "static const uint8_t heart_light[] = {\n"
                             "    0x66, // .##..##.\n"
                             "    0xFF, // ########\n"
                             "    0xFF, /* ######## */\n"
                             "    0xFF,\n"
                             "    0x7E, 0x3C,\n"
                             "    0x18,\n"
                             "    0x00, // ........\n"
                             "};\n"
                             "static const uint8_t heart_dark[] = {\n"
                             "    0, 0, 0, 0, 0, 0, 0, 0 };\n"
                             "\n"
                             "#endif\n";
    expectDeclarations(text, {{"heart_", Plane::Light, kHeart, 4}, {"heart_", Plane::Dark, kZero, 13}});
    const auto light = scanDeclarations(text).front();
    EXPECT_EQ(light.lineEnd, text.find("};\n") + 2);
}

TEST(GrammarRead, QualifiersTypesAndSpacing)
{
    const std::string text = "constexpr static std::uint8_t a_light [ 8 ] = { 1,2,3,4,5,6,7,8 } ;\n"
                             "\t  const\tunsigned   char b_dark[]\t=\t{1,2,3,4,5,6,7,8,};\n"
                             "uint8_t clight[]={1,2,3,4,5,6,7,8};\n"
                             "const static constexpr std :: uint8_t ddark[8]PROGMEM={1,2,3,4,5,6,7,8};\n";
    expectDeclarations(text, {{"a_", Plane::Light, kCount, 1},
                              {"b_", Plane::Dark, kCount, 2},
                              {"c", Plane::Light, kCount, 3},
                              {"d", Plane::Dark, kCount, 4}});
}

TEST(GrammarRead, DecimalBinaryAndOctalBodies)
{
    const std::string text = "static unsigned char dlight[]={102,255,255,255,126,60,24,0};\n"
                             "static unsigned char bdark[]={0b01100110,0B11111111,0b11111111,0b11111111,\n"
                             "  0b01111110,0b00111100,0b00011000,0b0};\n"
                             "static unsigned char olight[]={0146,0377,0377,0377,0176,074,030,00};\n"
                             "static unsigned char xdark[]={0X66,0xFf,0xfF,0XFF,0x7e,0x3C,0x018,0x0};\n";
    expectDeclarations(text, {{"d", Plane::Light, kHeart, 1},
                              {"b", Plane::Dark, kHeart, 2},
                              {"o", Plane::Light, kHeart, 4},
                              {"x", Plane::Dark, kHeart, 5}});
    const auto found = scanDeclarations(text);
    EXPECT_EQ(found[0].numbers[7].notation, Notation::Decimal); // "0" is decimal zero
    EXPECT_EQ(found[2].numbers[7].notation, Notation::Octal);   // "00" is octal
    EXPECT_EQ(found[1].numbers[0].notation, Notation::Binary);
    EXPECT_EQ(found[3].numbers[0].notation, Notation::Hex);
}

TEST(GrammarRead, CrlfWithByteOrderMark)
{
    const std::string text = "\xEF\xBB\xBF"
                             "static unsigned char Alight[]={0x01,0x02,0x03,0x04,0x05,0x06,0x07,0x08};\r\n"
                             "// foreign\r\n"
                             "static unsigned char Adark[] = {\r\n  1, 2, 3, 4,\r\n  5, 6, 7, 8\r\n};\r\n";
    expectDeclarations(text, {{"A", Plane::Light, kCount, 1}, {"A", Plane::Dark, kCount, 3}});
    EXPECT_EQ(scanDeclarations(text).front().lineStart, 3u);
}

TEST(GrammarRead, NamesWithSpacesEmptyNamesAndTheLongerNameTrap)
{
    // The program lets a name hold any character but a line break.
    const std::string text = "static unsigned char my sprite light[]={" + kOwnZero + "};\n"
                             + "static unsigned char light[]={" + kOwnZero + "};\n"
                             + "static unsigned char Alight[]={xlight[]={" + kOwnZero + "};\n"
                             + "static unsigned char   padded dark[]={" + kOwnZero + "};\n";
    expectDeclarations(text, {{"my sprite ", Plane::Light, kZero, 1},
                              {"", Plane::Light, kZero, 2},
                              {"Alight[]={x", Plane::Light, kZero, 3},
                              {"padded ", Plane::Dark, kZero, 4}});
    EXPECT_FALSE(grammar::findDeclaration(text, "A", Plane::Light).has_value());
    EXPECT_EQ(grammar::findDeclaration(text, "Alight[]={x", Plane::Light)->line, 3);
    EXPECT_EQ(grammar::findDeclaration(text, "", Plane::Light)->line, 2);
}

TEST(GrammarRead, ANameTypedWithLeadingBlanksIsTheNameWithout)
{
    // Blanks before the name belong to the head, so " A" is written and
    // found as "A": a second update finds the first one's lines.
    const std::string text = withSprite("", " \tA", kHeart, kZero);
    EXPECT_EQ(text, "\nstatic unsigned char Alight[]={0x66,0xFF,0xFF,0xFF,0x7E,0x3C,0x18,0x00};"
                    "\nstatic unsigned char Adark[]={"
                        + kOwnZero + "};");
    EXPECT_EQ(grammar::findDeclaration(text, " \tA", Plane::Light)->bytes(), kHeart);
    EXPECT_EQ(grammar::findDeclaration(text, "A", Plane::Dark)->line, 3);
    const auto light = scanDeclarations(text).at(0);
    EXPECT_EQ(applied(text, renameDeclaration(light, "  B")).substr(0, 28), "\nstatic unsigned char Blight");
}

TEST(GrammarRead, LinesThatAreForeign)
{
    const std::vector<std::string> foreign = {
        "// static unsigned char Alight[]={" + kOwnZero + "};",
        "x static unsigned char Alight[]={" + kOwnZero + "};",
        "static static unsigned char Alight[]={" + kOwnZero + "};",
        "static unsigned charAlight[]={" + kOwnZero + "};",
        "static unsignedchar Alight[]={" + kOwnZero + "};",
        "int Alight[]={" + kOwnZero + "};",
        "static unsigned char Alight[]{" + kOwnZero + "};",
        "extern const unsigned char Alight[8];",
        "extern unsigned char Alight[]={" + kOwnZero + "};",
        "static unsigned char Alight[]={1,2,3};",
        "static unsigned char Alight[][8]={{" + kOwnZero + "}};",
        "static unsigned char A_lights[]={" + kOwnZero + "};",
        "static unsigned char Alight;",
        "unsigned char *p;",
        "char",
    };
    for (const auto& line : foreign) {
        EXPECT_TRUE(scanDeclarations(line).empty()) << line;
        EXPECT_TRUE(scanDeclarations("#pragma once\n" + line + "\n").empty()) << line;
    }
}

TEST(GrammarRead, NumbersOutOfRangeOrMisspelledMakeTheDeclarationUnreadable)
{
    for (const std::string token : {"256", "08", "0x", "0x100", "0b", "0b2", "0b100000000", "1.0", "-1",
                                    "0xFFz", "0400", "B2", "B111111111", "a", "0x0000000000000000100"}) {
        const std::string text = "static unsigned char Alight[]={" + token + ",0,0,0,0,0,0,0};";
        const auto found = scanDeclarations(text);
        ASSERT_EQ(found.size(), 1u) << token;
        EXPECT_FALSE(found[0].readable) << token;
    }
    for (const std::string token : {"255", "0xff", "0x00000000FF", "0377", "0b11111111", "0B011111111",
                                    "0xFFu", "255UL", "B11111111", "0377u"}) {
        const std::string text = "static unsigned char Alight[]={" + token + ",0,0,0,0,0,0,0};";
        const auto found = scanDeclarations(text);
        ASSERT_EQ(found.size(), 1u) << token;
        EXPECT_TRUE(found[0].readable) << token;
        EXPECT_EQ(found[0].numbers[0].value, 255) << token;
    }
}

TEST(GrammarRead, UnreadableBodiesAreReportedByTheirHeadLine)
{
    const std::vector<std::string> bodies = {
        "{1,2,3,4,5,6,7};",           // seven
        "{1,2,3,4,5,6,7,8,9};",       // nine
        "{1,2,3,4,5,6,7,8}",          // no ";"
        "{1,2,3,4,5,6,7,8;",          // no "}"
        "{1,2,3,4,5,6,7,8,,};",       // two trailing commas
        "{1,2,3,4 5,6,7,8};",         // a missing comma
        "{1,2,3,4,5,6,7,8 /* open};", // a comment that never closes
    };
    for (const auto& body : bodies) {
        const std::string text = "// header\nstatic unsigned char Alight[8]=" + body + "\nint after;\n";
        const auto found = scanDeclarations(text);
        ASSERT_EQ(found.size(), 1u) << body;
        EXPECT_FALSE(found[0].readable) << body;
        EXPECT_EQ(found[0].line, 2) << body;
        EXPECT_EQ(found[0].lineEnd, text.find('\n', 11)) << body;
        EXPECT_EQ(found[0].bytes(), kZero);
        EXPECT_EQ(applied(text, rewriteNumbers(text, found[0], kFull)), text) << body;
    }
}

TEST(GrammarRead, ABodyRunningIntoTheNextDeclarationLeavesThatOneReadable)
{
    // The first body is never closed; the next line is a declaration of its
    // own, not a part of it.
    const std::string text = "static unsigned char Alight[]={1,2,3,\n"
                             "static unsigned char Adark[]={1,2,3,4,5,6,7,8};\n";
    const auto found = scanDeclarations(text);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_FALSE(found[0].readable);
    EXPECT_TRUE(found[1].readable);
    EXPECT_EQ(found[1].line, 2);
}

TEST(GrammarRead, LinesInsideABodyAreNotReadAgain)
{
    const std::string text = "static unsigned char Alight[]={ /*\n"
                             "static unsigned char Blight[]={1,2,3,4,5,6,7,8};\n"
                             "*/ 1,2,3,4,5,6,7,8};\n"
                             "static unsigned char Cdark[]={1,2,3,4,5,6,7,8};\n";
    expectDeclarations(text, {{"A", Plane::Light, kCount, 1}, {"C", Plane::Dark, kCount, 4}});
    EXPECT_FALSE(grammar::findDeclaration(text, "B", Plane::Light).has_value());
}

// Finding a name passes over other names' one-line declarations without
// reading their bodies; one whose body or trailing ";" goes on below still
// hides the lines it spans.
TEST(GrammarRead, FindingANameSkipsOnlyWhatCannotHideLines)
{
    const std::string text = "static unsigned char Alight[]={1,2,3,4,5,6,7,8}\n"
                             "/*\n"
                             "static unsigned char Blight[]={1,2,3,4,5,6,7,8};\n"
                             "*/;\n"
                             "static unsigned char Clight[]={1,2,3,4,5,6,7,8}; int x = {0};\n"
                             "static unsigned char Dlight[]={1,2,3,4,5,6,7,8};\n"
                             "static unsigned char Elight[]={1,2,3, /* }; \n"
                             "static unsigned char Flight[]={1,2,3,4,5,6,7,8};\n"
                             "*/ 4,5,6,7,8};\n"
                             "static unsigned char Flight[]={1,2,3,4,5,6,7,8};\n";
    expectDeclarations(text, {{"A", Plane::Light, kCount, 1},
                              {"C", Plane::Light, kCount, 5},
                              {"D", Plane::Light, kCount, 6},
                              {"E", Plane::Light, kCount, 7},
                              {"F", Plane::Light, kCount, 10}});
    EXPECT_FALSE(grammar::findDeclaration(text, "B", Plane::Light).has_value());
    EXPECT_EQ(grammar::findDeclaration(text, "D", Plane::Light)->line, 6);
    EXPECT_EQ(grammar::findDeclaration(text, "F", Plane::Light)->line, 10);
    EXPECT_EQ(grammar::findSprite(text, "F").light->line, 10);
    EXPECT_FALSE(grammar::findSprite(text, "F").dark.has_value());
}

TEST(GrammarRead, FindGivesTheFirstOfANameAndPlane)
{
    const std::string text = "static unsigned char Bdark[]={1,2,3,4,5,6,7,8};\n"
                             "static unsigned char Blight[]={1,2};\n"
                             "static unsigned char Blight[]={1,2,3,4,5,6,7,8};\n";
    const auto light = grammar::findDeclaration(text, "B", Plane::Light);
    ASSERT_TRUE(light.has_value());
    EXPECT_EQ(light->line, 2);
    EXPECT_FALSE(light->readable);
    EXPECT_EQ(grammar::findDeclaration(text, "B", Plane::Dark)->line, 1);
    EXPECT_FALSE(grammar::findDeclaration(text, "b", Plane::Dark).has_value());
}

TEST(GrammarRead, ParseAtALineStart)
{
    const std::string text = "int x;\n  static unsigned char Alight[]={1,2,3,4,5,6,7,8};";
    EXPECT_FALSE(parseDeclarationAt(text, 0).has_value());
    const auto found = parseDeclarationAt(text, 7);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->line, 2);
    EXPECT_EQ(found->name, "A");
    EXPECT_EQ(found->lineEnd, text.size());
}

// ---------------------------------------------------------------------------
// Rewriting the numbers of a declaration in place

std::string rewritten(const std::string& text, const Rows& bytes)
{
    const auto found = scanDeclarations(text);
    EXPECT_EQ(found.size(), 1u);
    return applied(text, rewriteNumbers(text, found.at(0), bytes));
}

TEST(GrammarRewrite, EachNumberKeepsItsNotation)
{
    struct Case {
        std::string before;
        std::string after;
    };
    const Case cases[] = {
        // The program's own shape: two upper-case hex digits.
        {"static unsigned char Alight[]={" + kOwnZero + "};",
         "static unsigned char Alight[]={0x66,0xFF,0xFF,0xFF,0x7E,0x3C,0x18,0x00};"},
        // One lower-case letter anywhere makes the whole body lower case.
        {"const uint8_t h_light[] = { 0x66, 0xff, 0xff, 0xff, 0x7e, 0x3c, 0x18, 0x00 };",
         "const uint8_t h_light[] = { 0x66, 0xff, 0xff, 0xff, 0x7e, 0x3c, 0x18, 0x00 };"},
        {"uint8_t hlight[]={0X0,0x000,0,00,0b0,0B0000,0x0,0xa};",
         "uint8_t hlight[]={0X66,0x0ff,255,0377,0b1111110,0B111100,0x18,0x0};"},
        // Decimal is written plainly, whatever it was.
        {"uint8_t hlight[]={100,100,100,100,100,100,100,100};",
         "uint8_t hlight[]={102,255,255,255,126,60,24,0};"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(rewritten(c.before, kHeart), c.after);
}

TEST(GrammarRewrite, OnlyTheNumberTokensChange)
{
    const std::string text = "static const uint8_t heart_light[] PROGMEM = {\n"
                             "    0x00, // .##..##.\n"
                             "    0x00, /* ######## */ 0x00 , 0x00,\n"
                             "    0x00,\r\n"
                             "    0x00, 0x00, 0x00, // ........\n"
                             "};";
    const auto found = scanDeclarations(text);
    ASSERT_EQ(found.size(), 1u);
    const auto edit = rewriteNumbers(text, found[0], kHeart);
    EXPECT_EQ(edit.position, text.find("0x00"));
    const std::string after = applied(text, edit);
    EXPECT_EQ(after, "static const uint8_t heart_light[] PROGMEM = {\n"
                     "    0x66, // .##..##.\n"
                     "    0xFF, /* ######## */ 0xFF , 0xFF,\n"
                     "    0x7E,\r\n"
                     "    0x3C, 0x18, 0x00, // ........\n"
                     "};");
    EXPECT_EQ(scanDeclarations(after).at(0).bytes(), kHeart);
}

// ---------------------------------------------------------------------------
// Adding declarations

TEST(GrammarAdd, TheProgramsOwnTextsStayAsTheyWere)
{
    std::string text = withSprite("", "A", {0x80, 0, 0, 0, 0, 0, 0, 1}, {0, 0, 0, 0, 0, 0, 0, 1});
    text = withSprite(text, "B", {1, 0, 0, 0, 0, 0, 0, 0}, {1, 0, 0, 0xFF, 0, 0, 0, 0});
    EXPECT_EQ(text, "\nstatic unsigned char Alight[]={0x80,0x00,0x00,0x00,0x00,0x00,0x00,0x01};"
                    "\nstatic unsigned char Adark[]={0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x01};"
                    "\nstatic unsigned char Blight[]={0x01,0x00,0x00,0x00,0x00,0x00,0x00,0x00};"
                    "\nstatic unsigned char Bdark[]={0x01,0x00,0x00,0xFF,0x00,0x00,0x00,0x00};");
}

TEST(GrammarAdd, WithoutDeclarationsAtTheEndBeforeAFinalLineEnd)
{
    EXPECT_EQ(withSprite("#pragma once\n", "A", kZero, kFull),
              "#pragma once\nstatic unsigned char Alight[]={" + kOwnZero
                  + "};\nstatic unsigned char Adark[]={0xFF,0xFF,0xFF,0xFF,0xFF,0xFF,0xFF,0xFF};\n");
    EXPECT_EQ(withSprite("#pragma once\r\n// x\r\n", "A", kZero, kZero),
              "#pragma once\r\n// x\r\nstatic unsigned char Alight[]={" + kOwnZero
                  + "};\r\nstatic unsigned char Adark[]={" + kOwnZero + "};\r\n");
    EXPECT_EQ(withSprite("#pragma once", "A", kZero, kZero),
              "#pragma once\nstatic unsigned char Alight[]={" + kOwnZero
                  + "};\nstatic unsigned char Adark[]={" + kOwnZero + "};");
}

TEST(GrammarAdd, InsideAnIncludeGuardAfterTheLastDeclaration)
{
    const std::string text = "#ifndef SPRITES_H\n"
                             "#define SPRITES_H\n"
                             "static const uint8_t heart_light[] = {\n"
                             "    0x66, 0xff, 0xff, 0xff, // top\n"
                             "    0x7e, 0x3c, 0x18, 0x00,\n"
                             "};\n"
                             "\n"
                             "#endif\n";
    EXPECT_EQ(withSprite(text, "star_", kFull, kZero),
              "#ifndef SPRITES_H\n"
              "#define SPRITES_H\n"
              "static const uint8_t heart_light[] = {\n"
              "    0x66, 0xff, 0xff, 0xff, // top\n"
              "    0x7e, 0x3c, 0x18, 0x00,\n"
              "};\n"
              "static const uint8_t star_light[] = {0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff};\n"
              "static const uint8_t star_dark[] = {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};\n"
              "\n"
              "#endif\n");
}

TEST(GrammarAdd, TheShapeOfTheLastDeclaration)
{
    const std::string text = "  const uint8_t a_light[8] PROGMEM = { 0b1,\t2, 3, 4, 5, 6, 7, 8  };\n"
                             "\tconst unsigned char a_dark[]={ 0X0a,0X1,0X2,0X3,0X4,0X5,0X6,0X7 }; // last\n"
                             "int after;\n";
    EXPECT_EQ(applied(text, newDeclaration(text, "b_", Plane::Light, kHeart)),
              "  const uint8_t a_light[8] PROGMEM = { 0b1,\t2, 3, 4, 5, 6, 7, 8  };\n"
              "\tconst unsigned char a_dark[]={ 0X0a,0X1,0X2,0X3,0X4,0X5,0X6,0X7 }; // last\n"
              "\tconst unsigned char b_light[]={ 0X66,0Xff,0Xff,0Xff,0X7e,0X3c,0X18,0X00 };\n"
              "int after;\n");
    // A first number in binary sets the notation; the separator is the
    // comma with the blanks after the first comma.
    const std::string binary = "uint8_t alight[] = {  0b0,\t 0, 0, 0, 0, 0, 0, 0 };";
    EXPECT_EQ(applied(binary, newDeclaration(binary, "a", Plane::Dark, {1, 2, 3, 4, 5, 6, 7, 255})),
              binary
                  + "\nuint8_t adark[] = {  0b1,\t 0b10,\t 0b11,\t 0b100,\t 0b101,\t 0b110,\t 0b111,\t "
                    "0b11111111 };");
}

TEST(GrammarAdd, AMissingDarkGoesRightAfterItsLight)
{
    const std::string text = "static unsigned char Alight[]={" + kOwnZero + "};\r\n"
                             + "static unsigned char Blight[]={" + kOwnZero + "};\n"
                             + "static unsigned char Bdark[]={" + kOwnZero + "};\n";
    EXPECT_EQ(applied(text, newDeclaration(text, "A", Plane::Dark, kZero)),
              "static unsigned char Alight[]={" + kOwnZero + "};\r\n" + "static unsigned char Adark[]={"
                  + kOwnZero + "};\r\n" + "static unsigned char Blight[]={" + kOwnZero + "};\n"
                  + "static unsigned char Bdark[]={" + kOwnZero + "};\n");
}

TEST(GrammarAdd, LineEndsFollowTheText)
{
    // After a line ending in CRLF: CRLF.
    const std::string crlf =
        "\xEF\xBB\xBF// sprites\r\nstatic unsigned char Alight[]={" + kOwnZero + "};\r\n";
    EXPECT_EQ(newDeclaration(crlf, "A", Plane::Dark, kZero).inserted,
              "\r\nstatic unsigned char Adark[]={" + kOwnZero + "};");
    // After the text's last line, which has no line end: as the first line end.
    const std::string last = "// sprites\r\nstatic unsigned char Alight[]={" + kOwnZero + "};";
    EXPECT_EQ(newDeclaration(last, "A", Plane::Dark, kZero),
              (TextEdit{last.size(), 0, "\r\nstatic unsigned char Adark[]={" + kOwnZero + "};"}));
    // A line ending in LF in a text that otherwise uses CRLF: LF.
    const std::string mixed = "// sprites\r\nstatic unsigned char Alight[]={" + kOwnZero + "};\n";
    EXPECT_EQ(newDeclaration(mixed, "A", Plane::Dark, kZero).inserted.substr(0, 2), "\ns");
}

TEST(GrammarAdd, UnreadableDeclarationsNeitherPlaceNorShapeIt)
{
    const std::string text = "uint8_t alight[] = { 1, 2, 3, 4, 5, 6, 7, 8 };\n"
                             "uint8_t adark[] = {\n 1, 2,\n";
    const auto edit = newDeclaration(text, "b", Plane::Light, kCount);
    EXPECT_EQ(edit, (TextEdit{text.find('\n'), 0, "\nuint8_t blight[] = { 1, 2, 3, 4, 5, 6, 7, 8 };"}));
}

// ---------------------------------------------------------------------------
// Removing and renaming

TEST(GrammarRemove, AllItsLinesWithOneLineEnd)
{
    const std::string multi =
        "int a;\r\nuint8_t alight[] = {\r\n 1, 2, 3, 4,\r\n 5, 6, 7, 8 }; // x\r\nint b;\r\n";
    EXPECT_EQ(applied(multi, removeDeclaration(multi, scanDeclarations(multi).at(0))),
              "int a;\r\nint b;\r\n");

    const std::string own = "\nstatic unsigned char Alight[]={" + kOwnZero
                            + "};\nstatic unsigned char Adark[]={" + kOwnZero + "};";
    const auto found = scanDeclarations(own);
    EXPECT_EQ(applied(own, removeDeclaration(own, found.at(1))),
              "\nstatic unsigned char Alight[]={" + kOwnZero + "};");
    EXPECT_EQ(applied(own, removeDeclaration(own, found.at(0))),
              "\nstatic unsigned char Adark[]={" + kOwnZero + "};");
}

TEST(GrammarRemove, TheFirstLineTakesTheLineEndAfterItAndKeepsTheMark)
{
    const std::string text = "\xEF\xBB\xBFuint8_t alight[]={1,2,3,4,5,6,7,8};\r\nint b;";
    EXPECT_EQ(applied(text, removeDeclaration(text, scanDeclarations(text).at(0))), "\xEF\xBB\xBFint b;");
    const std::string alone = "uint8_t alight[]={1,2,3,4,5,6,7,8};";
    EXPECT_EQ(applied(alone, removeDeclaration(alone, scanDeclarations(alone).at(0))), "");
}

TEST(GrammarRename, OnlyTheNameChanges)
{
    const std::string text = "const uint8_t heart_dark[] PROGMEM = {1,2,3,4,5,6,7,8};";
    const auto found = scanDeclarations(text).at(0);
    const std::string renamed = applied(text, renameDeclaration(found, "big heart "));
    EXPECT_EQ(renamed, "const uint8_t big heart dark[] PROGMEM = {1,2,3,4,5,6,7,8};");
    EXPECT_EQ(scanDeclarations(renamed).at(0).name, "big heart ");
}

// ---------------------------------------------------------------------------
// Tokens for colouring

TEST(GrammarTokens, EveryPieceOfAMultiLineDeclaration)
{
    const std::string text = "static const std::uint8_t a_light[8] PROGMEM = {\n"
                             "  1, 2, /* c */ 3, 4, 5, 6, 7, 8, // d\n"
                             "};";
    const auto found = scanDeclarations(text).at(0);
    std::string seen;
    for (const auto& token : declarationTokens(text, found)) {
        const char* kinds[] = {"K", "T", "I", "P", "N", "C"};
        seen += std::string(kinds[static_cast<int>(token.kind)]) + ":"
                + text.substr(token.position, token.length) + " ";
    }
    EXPECT_EQ(seen,
              "K:static K:const T:std T::: T:uint8_t I:a_light P:[ N:8 P:] K:PROGMEM P:= P:{ "
              "N:1 P:, N:2 P:, C:/* c */ N:3 P:, N:4 P:, N:5 P:, N:6 P:, N:7 P:, N:8 P:, C:// d P:} P:; ");

    // Which declaration a position belongs to, line ends included.
    const std::string two = "int x;\n" + text + "\n\nuint8_t bdark[]={1,2,3,4,5,6,7,8};";
    const auto both = scanDeclarations(two);
    EXPECT_EQ(declarationAt(both, 0), nullptr);
    EXPECT_EQ(declarationAt(both, 7), &both[0]);
    EXPECT_EQ(declarationAt(both, two.find("// d")), &both[0]);
    EXPECT_EQ(declarationAt(both, both[0].lineEnd), &both[0]);
    EXPECT_EQ(declarationAt(both, both[0].lineEnd + 1), nullptr);
    EXPECT_EQ(declarationAt(both, two.size()), &both[1]);

    const std::string unreadable = "uint8_t alight[8]={1,2};";
    EXPECT_EQ(declarationTokens(unreadable, scanDeclarations(unreadable).at(0)).size(), 7u);
}

// ---------------------------------------------------------------------------
// Hand-written headers, each drawing its sprites in its opening comment

const Rows kArrowLight = picture({
    "...#....",
    "..###...",
    ".#####..",
    "#######.",
    "..###...",
    "..###...",
    "..###...",
    "........",
});
const Rows kArrowDark = picture({
    "...#....",
    "...#....",
    "...#....",
    "...#....",
    "...#....",
    "...#....",
    "...#....",
    "........",
});
const Rows kHeartDark = picture({
    "........",
    ".#......",
    ".#......",
    "........",
    "........",
    "........",
    "........",
    "........",
});
const Rows kSmileLight = picture({
    "..####..",
    ".#....#.",
    "#.#..#.#",
    "#......#",
    "#.#..#.#",
    "#..##..#",
    ".#....#.",
    "..####..",
});
const Rows kSmileDark = picture({
    "........",
    "........",
    "..#..#..",
    "........",
    "........",
    "........",
    "........",
    "........",
});

struct Sprite {
    std::string name;
    Plane plane;
    Rows bytes;
};

struct Golden {
    std::string file;
    std::vector<Sprite> sprites;
};

const std::vector<Sprite> kArrow = {{"arrow_", Plane::Light, kArrowLight},
                                    {"arrow_", Plane::Dark, kArrowDark}};
const std::vector<Sprite> kHeartSprite = {{"heart_", Plane::Light, kHeart},
                                          {"heart_", Plane::Dark, kHeartDark}};
const std::vector<Sprite> kSmile = {{"smile_", Plane::Light, kSmileLight},
                                    {"smile_", Plane::Dark, kSmileDark}};

std::vector<Sprite> joined(std::initializer_list<std::vector<Sprite>> parts)
{
    std::vector<Sprite> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

const std::vector<Golden>& goldens()
{
    static const std::vector<Golden> all = {
        {"progmem.h", kArrow},
        {"clang_format.h", kHeartSprite},
        {"row_pictures.h", kSmile},
        {"notations.h", joined({kHeartSprite, kArrow, kSmile})},
        {"crlf_bom.h", kArrow},
        {"include_guard.h", kHeartSprite},
        {"mixed.h", joined({kArrow, kHeartSprite, kSmile})},
        {"progmem_suffixes.h", kHeartSprite},
        {"two_a_line.h", joined({kArrow, kSmile})},
        {"cr_only.h", kSmile},
    };
    return all;
}

std::string readHeader(const std::string& file)
{
    std::ifstream in(std::string(BITLOOM_TEST_HEADERS) + "/" + file, std::ios::binary);
    EXPECT_TRUE(in.good()) << file;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(GrammarGolden, EverySpriteIsRead)
{
    for (const auto& golden : goldens()) {
        SCOPED_TRACE(golden.file);
        const std::string text = readHeader(golden.file);
        const auto found = scanDeclarations(text);
        ASSERT_EQ(found.size(), golden.sprites.size());
        for (std::size_t i = 0; i < found.size(); ++i) {
            EXPECT_TRUE(found[i].readable);
            EXPECT_EQ(found[i].name, golden.sprites[i].name);
            EXPECT_EQ(found[i].plane, golden.sprites[i].plane);
            EXPECT_EQ(found[i].bytes(), golden.sprites[i].bytes) << found[i].name;
        }
    }
}

TEST(GrammarGolden, AnUpdateChangesOnlyThatDeclarationsNumbers)
{
    for (const auto& golden : goldens()) {
        SCOPED_TRACE(golden.file);
        const std::string text = readHeader(golden.file);
        const auto found = scanDeclarations(text);
        for (std::size_t i = 0; i < found.size(); ++i) {
            Rows inverted = found[i].bytes();
            for (auto& byte : inverted)
                byte = static_cast<std::uint8_t>(~byte);
            const std::string edited = applied(text, rewriteNumbers(text, found[i], inverted));
            const auto after = scanDeclarations(edited);
            ASSERT_EQ(after.size(), found.size());
            for (std::size_t k = 0; k < after.size(); ++k)
                EXPECT_EQ(after[k].bytes(), k == i ? inverted : found[k].bytes());
            // Between and around the tokens, nothing moved.
            std::size_t from = 0, fromEdited = 0;
            for (std::size_t n = 0; n < kRowCount; ++n) {
                const auto& old = found[i].numbers[n];
                const auto& now = after[i].numbers[n];
                EXPECT_EQ(text.substr(from, old.position - from),
                          edited.substr(fromEdited, now.position - fromEdited));
                from = old.position + old.length;
                fromEdited = now.position + now.length;
            }
            EXPECT_EQ(text.substr(from), edited.substr(fromEdited));
        }
    }
}

TEST(GrammarGolden, ANewSpriteFollowsTheLastDeclarationAndTheLineEnds)
{
    for (const auto& golden : goldens()) {
        SCOPED_TRACE(golden.file);
        const std::string text = readHeader(golden.file);
        const auto last = scanDeclarations(text).back();
        const std::string added = withSprite(text, "new_", kSmileLight, kSmileDark);
        // Everything up to the end of the last declaration's line, and
        // everything after it, is where it was.
        const std::size_t at = last.lineEnd - (text[last.lineEnd - 1] == '\r' ? 1 : 0);
        EXPECT_EQ(added.substr(0, at), text.substr(0, at));
        EXPECT_TRUE(added.ends_with(text.substr(at)));
        const auto found = scanDeclarations(added);
        ASSERT_EQ(found.size(), golden.sprites.size() + 2);
        EXPECT_EQ(found[found.size() - 2].bytes(), kSmileLight);
        EXPECT_EQ(found.back().bytes(), kSmileDark);
        EXPECT_EQ(found.back().name, "new_");
        const bool crlf = text.find("\r\n") != std::string::npos;
        for (std::size_t feed = added.find('\n'); feed != std::string::npos;
             feed = added.find('\n', feed + 1))
            EXPECT_EQ(added[feed - 1] == '\r', crlf);
    }
    EXPECT_EQ(withSprite(readHeader("include_guard.h"), "new_", kSmileLight, kSmileDark)
                  .substr(readHeader("include_guard.h").find("constexpr std::uint8_t heart_dark")),
              "constexpr std::uint8_t heart_dark[8] = {0x00, 0x40, 0x40, 0x00, 0x00, 0x00, 0x00, 0x00};\n"
              "constexpr std::uint8_t new_light[8] = {0x3C, 0x42, 0xA5, 0x81, 0xA5, 0x99, 0x42, 0x3C};\n"
              "constexpr std::uint8_t new_dark[8] = {0x00, 0x00, 0x24, 0x00, 0x00, 0x00, 0x00, 0x00};\n"
              "\n"
              "} // namespace sprites\n"
              "\n"
              "#endif // HEART_H\n");
    const std::string mixed = readHeader("mixed.h");
    EXPECT_EQ(newDeclaration(mixed, "new_", Plane::Light, kHeart).inserted,
              "\nconstexpr static std::uint8_t new_light [ 8 ] = { 0x66, 0xFF, 0xFF, 0xFF, 0x7E, 0x3C, 0x18, "
              "0x00 };");
}

// ---------------------------------------------------------------------------
// Random texts in random accepted shapes

class RandomHeader {
public:
    explicit RandomHeader(unsigned seed) : mRandom(seed) {}

    struct Sprite {
        std::string name;
        Plane plane;
        Rows bytes;
    };

    // A text of foreign lines and declarations, with what it declares.
    std::string build(std::vector<Sprite>& declared)
    {
        std::string text = pick(2) ? "\xEF\xBB\xBF" : "";
        const std::string lineEnd = pick(2) ? "\r\n" : "\n";
        const int lines = 1 + pick(30);
        for (int i = 0; i < lines; ++i) {
            if (pick(3) == 0) {
                Sprite sprite{"s" + std::to_string(i) + (pick(2) ? " x" : ""),
                              pick(2) ? Plane::Light : Plane::Dark,
                              {}};
                for (auto& byte : sprite.bytes)
                    byte = static_cast<std::uint8_t>(pick(256));
                text += declaration(sprite, lineEnd);
                declared.push_back(sprite);
            } else {
                text += foreignLine();
            }
            text += lineEnd;
        }
        return text;
    }

private:
    int pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(mRandom); }

    std::string blanks() { return std::string(static_cast<std::size_t>(pick(3)), pick(2) ? ' ' : '\t'); }

    std::string trivia(const std::string& lineEnd)
    {
        switch (pick(5)) {
        case 0: return " /* , 1 */ ";
        case 1: return " // row" + lineEnd + "  ";
        case 2: return lineEnd + blanks();
        default: return blanks();
        }
    }

    std::string number(std::uint8_t value)
    {
        static const char* hexUpper = "0123456789ABCDEF";
        static const char* hexLower = "0123456789abcdef";
        switch (pick(4)) {
        case 0: {
            const char* digits = pick(2) ? hexUpper : hexLower;
            return std::string(pick(2) ? "0x" : "0X") + digits[value >> 4] + digits[value & 15];
        }
        case 1: return std::to_string(value);
        case 2: {
            std::string bits = "0b";
            for (int bit = 7; bit >= 0; --bit)
                bits += ((value >> bit) & 1) ? '1' : '0';
            return bits;
        }
        default: {
            char octal[8];
            std::snprintf(octal, sizeof octal, "0%03o", value);
            return octal;
        }
        }
    }

    std::string declaration(const Sprite& sprite, const std::string& lineEnd)
    {
        static const char* qualifiers[] = {"", "static ", "const ", "static const ", "constexpr static "};
        static const char* types[] = {"unsigned char", "uint8_t", "std::uint8_t", "unsigned\tchar"};
        std::string text = blanks() + qualifiers[pick(5)] + types[pick(4)] + " " + blanks() + sprite.name
                           + (sprite.plane == Plane::Light ? "light" : "dark") + blanks()
                           + (pick(2) ? "[]" : "[8]") + (pick(2) ? " PROGMEM" : "") + blanks() + "="
                           + blanks() + "{";
        for (std::size_t i = 0; i < kRowCount; ++i) {
            text += trivia(lineEnd) + number(sprite.bytes[i]) + trivia(lineEnd);
            if (i + 1 < kRowCount || pick(2))
                text += ",";
        }
        return text + trivia(lineEnd) + "}" + (pick(4) ? "" : " ") + ";" + (pick(3) ? "" : " // end");
    }

    std::string foreignLine()
    {
        static const char* lines[] = {"",
                                      "#pragma once",
                                      "// unsigned char alight[]={1,2,3,4,5,6,7,8};",
                                      "int x = 0; /* char */",
                                      "#endif",
                                      "  static int counter;",
                                      "struct light { char dark[8]; };",
                                      "uint8_t table[4] = {1, 2, 3, 4};"};
        return lines[pick(8)];
    }

    std::mt19937 mRandom;
};

TEST(GrammarProperty, ScanFindsWhatWasWrittenAndRewritingChangesOnlyNumbers)
{
    for (unsigned seed = 1; seed <= 300; ++seed) {
        SCOPED_TRACE(seed);
        RandomHeader random(seed);
        std::vector<RandomHeader::Sprite> declared;
        const std::string text = random.build(declared);
        const auto found = scanDeclarations(text);
        ASSERT_EQ(found.size(), declared.size()) << text;
        std::string edited = text;
        // From the last to the first, so that earlier offsets stay valid.
        for (std::size_t i = found.size(); i-- > 0;) {
            ASSERT_TRUE(found[i].readable) << text;
            EXPECT_EQ(found[i].name, declared[i].name);
            EXPECT_EQ(found[i].plane, declared[i].plane);
            EXPECT_EQ(found[i].bytes(), declared[i].bytes);
            Rows flipped = declared[i].bytes;
            for (auto& byte : flipped)
                byte = static_cast<std::uint8_t>(~byte);
            applyEdit(edited, rewriteNumbers(edited, found[i], flipped));
        }
        const auto after = scanDeclarations(edited);
        ASSERT_EQ(after.size(), found.size());
        // Outside the number tokens, the text is the same byte for byte.
        std::size_t from = 0, fromEdited = 0;
        for (std::size_t i = 0; i < found.size(); ++i) {
            EXPECT_EQ(after[i].bytes()[0], static_cast<std::uint8_t>(~declared[i].bytes[0]));
            for (std::size_t n = 0; n < kRowCount; ++n) {
                const auto& old = found[i].numbers[n];
                const auto& now = after[i].numbers[n];
                EXPECT_EQ(now.notation, old.notation);
                ASSERT_EQ(text.substr(from, old.position - from),
                          edited.substr(fromEdited, now.position - fromEdited));
                from = old.position + old.length;
                fromEdited = now.position + now.length;
            }
        }
        EXPECT_EQ(text.substr(from), edited.substr(fromEdited));
    }
}

TEST(GrammarProperty, AddingAndRemovingKeepEveryOtherDeclaration)
{
    for (unsigned seed = 1; seed <= 300; ++seed) {
        SCOPED_TRACE(seed);
        RandomHeader random(seed);
        std::vector<RandomHeader::Sprite> declared;
        const std::string text = random.build(declared);

        // A new sprite is two inserted lines, read back with its bytes,
        // and every declaration that was there reads as before.
        std::string added = text;
        const TextEdit light = newDeclaration(added, "new", Plane::Light, kHeart);
        applyEdit(added, light);
        const TextEdit dark = newDeclaration(added, "new", Plane::Dark, kCount);
        applyEdit(added, dark);
        EXPECT_EQ(light.removed + dark.removed, 0u);
        EXPECT_EQ(dark.position, light.position + light.inserted.size());
        // Each is one line, led by its line end.
        EXPECT_EQ(std::count(light.inserted.begin(), light.inserted.end(), '\n'), 1);
        EXPECT_TRUE(light.inserted.starts_with("\n") || light.inserted.starts_with("\r\n"));
        const auto after = scanDeclarations(added);
        ASSERT_EQ(after.size(), declared.size() + 2) << added;
        std::size_t old = 0;
        for (const auto& declaration : after) {
            ASSERT_TRUE(declaration.readable);
            if (declaration.name == "new") {
                EXPECT_EQ(declaration.bytes(), declaration.plane == Plane::Light ? kHeart : kCount);
                continue;
            }
            ASSERT_LT(old, declared.size());
            EXPECT_EQ(declaration.name, declared[old].name);
            EXPECT_EQ(declaration.bytes(), declared[old].bytes);
            ++old;
        }

        // Removing a declaration leaves the others as they were.
        const auto found = scanDeclarations(text);
        for (std::size_t i = 0; i < found.size(); ++i) {
            std::string removed = text;
            applyEdit(removed, removeDeclaration(text, found[i]));
            const auto rest = scanDeclarations(removed);
            ASSERT_EQ(rest.size(), found.size() - 1);
            for (std::size_t k = 0; k < rest.size(); ++k)
                EXPECT_EQ(rest[k].bytes(), found[k < i ? k : k + 1].bytes());
        }
    }
}

// Headers mangled at random: whatever is read must hang together, and
// writing it must keep it readable with the new bytes.
TEST(GrammarProperty, MangledHeadersGiveConsistentDeclarations)
{
    const char pieces[] = "{},;/*\n\r 0x8b7[]=light dark PROGMEM static const char uint8_t";
    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        const auto& golden = goldens()[static_cast<std::size_t>(round) % goldens().size()];
        std::string text = readHeader(golden.file);
        for (int change = 0; change < 1 + round % 8; ++change) {
            const std::size_t at = random() % (text.size() + 1);
            if (random() % 2 && at < text.size())
                text.erase(at, 1 + random() % 4);
            else
                text.insert(at, 1, pieces[random() % (sizeof pieces - 1)]);
        }
        SCOPED_TRACE(text);
        const auto found = scanDeclarations(text);
        std::size_t previousEnd = 0;
        for (const auto& declaration : found) {
            EXPECT_LE(previousEnd, declaration.start);
            EXPECT_LE(declaration.lineStart, declaration.start);
            EXPECT_LE(declaration.start, declaration.identifierStart);
            EXPECT_LT(declaration.identifierEnd, declaration.openBrace);
            EXPECT_LE(declaration.end, declaration.lineEnd);
            EXPECT_LE(declaration.lineEnd, text.size());
            const auto again = parseByteArrayAt(text, declaration.start);
            ASSERT_TRUE(again.has_value());
            EXPECT_EQ(again->identifierStart, declaration.identifierStart);
            EXPECT_EQ(again->line, declaration.line);
            const auto first = grammar::findDeclaration(text, declaration.name, declaration.plane);
            ASSERT_TRUE(first.has_value()) << "[" << declaration.name << "] line " << declaration.line;
            EXPECT_LE(first->line, declaration.line);
            if (declaration.readable)
                previousEnd = declaration.end;
            declarationTokens(text, declaration);
            if (!declaration.readable)
                continue;
            std::size_t token = declaration.openBrace;
            for (const auto& number : declaration.numbers) {
                EXPECT_LT(token, number.position);
                token = number.position + number.length;
            }
            EXPECT_LE(token, declaration.closeBrace);
            EXPECT_LT(declaration.closeBrace, declaration.end);
            const std::string edited = applied(text, rewriteNumbers(text, declaration, kHeart));
            const auto afterEdit = scanDeclarations(edited);
            const auto rewritten =
                std::find_if(afterEdit.begin(), afterEdit.end(), [&](const Declaration& d) {
                    return d.identifierStart == declaration.identifierStart;
                });
            ASSERT_NE(rewritten, afterEdit.end());
            EXPECT_TRUE(rewritten->readable);
            EXPECT_EQ(rewritten->bytes(), kHeart);
        }
        if (found.empty())
            continue;
        const std::string added = withSprite(text, "new_", kSmileLight, kSmileDark);
        const auto light = grammar::findDeclaration(added, "new_", Plane::Light);
        const auto dark = grammar::findDeclaration(added, "new_", Plane::Dark);
        // A text ending inside a comment that never closes has no place
        // for new lines.
        const std::size_t opened = text.rfind("/*");
        if (opened != std::string::npos && text.find("*/", opened + 2) == std::string::npos
            && !(light && dark))
            continue;
        ASSERT_TRUE(light && dark);
        EXPECT_EQ(light->bytes(), kSmileLight);
        EXPECT_EQ(dark->bytes(), kSmileDark);
        EXPECT_EQ(dark->line, light->line + 1);
        const std::string removed = applied(text, removeDeclaration(text, found.back()));
        // A broken plane may have been one only through the plane removed.
        EXPECT_LE(scanDeclarations(removed).size(), found.size() - 1);
        EXPECT_GE(scanDeclarations(removed).size() + 2, found.size());
    }
}

} // namespace

namespace {

// ---------------------------------------------------------------------------
// Every byte array, in the shapes other people's headers use: each text with
// what the scan reads, one array a line as "name[bound][bound] count:value
// of the first number, readable or the problem", then the sprite planes.
std::string reading(std::string_view text)
{
    std::string out;
    const auto arrays = scanByteArrays(text);
    for (const ByteArray& array : arrays) {
        out += std::string(array.name);
        for (const auto bound : array.bounds)
            out += "[" + std::string(bound) + "]";
        out += " " + std::to_string(array.elementCount);
        if (array.innerCount)
            out += "x" + std::to_string(*array.innerCount);
        if (!array.numbers.empty())
            out += ":" + std::to_string(array.numbers.front().value);
        out += array.readable ? "" : " (" + array.problem + ")";
        out += " @" + std::to_string(array.line) + "\n";
    }
    for (const Declaration& declaration : pairDeclarations(text, arrays))
        out += "plane " + std::string(declaration.name)
               + (declaration.plane == Plane::Light ? "light" : "dark")
               + (declaration.readable ? "" : " (" + declaration.problem + ")") + "\n";
    return out;
}

const std::string kEight = "{1,2,3,4,5,6,7,8};";

TEST(GrammarArrays, WhatEachShapeReadsAs)
{
    struct Case {
        std::string text;
        std::string expected;
    };
    const Case cases[] = {
        // Qualifiers and attribute words in any order, also after the type.
        {"const uint8_t PROGMEM ship_light[] = " + kEight, "ship_light[] 8:1 @1\nplane ship_light\n"},
        {"uint8_t const a_light[]=" + kEight, "a_light[] 8:1 @1\nplane a_light\n"},
        {"U8G_PROGMEM static const unsigned char b_dark[8] = " + kEight, "b_dark[8] 8:1 @1\nplane b_dark\n"},
        {"static const unsigned char __attribute__((aligned(4))) c_dark[] = " + kEight,
         "c_dark[] 8:1 @1\nplane c_dark\n"},
        {"alignas(8) const std::uint8_t d_light[] ALIGN(4) PROGMEM = " + kEight,
         "d_light[] 8:1 @1\nplane d_light\n"},
        {"__declspec(align(4)) char e_light[8*1] /* x */ =\n  // y\n  " + kEight,
         "e_light[8*1] 8:1 @1\nplane e_light\n"},
        // Element types: char and signed char read 128-255 as bytes.
        {"signed char LOGO[] = {200, 0xFF};", "LOGO[] 2:200 @1\n"},
        // "=" and "{" on the lines below, as tile designers write them.
        {"// tiles\nunsigned char tiles[] =\n{\n  0x7E,0x7E,\n  0x81,0xFF\n};\n", "tiles[] 4:126 @2\n"},
        // Two dimensions, one inner list a row.
        {"const char font[2][8] = {\n {0,1,2,3,4,5,6,7}, // A\n {8,9,10,11,12,13,14,15},\n};",
         "font[2][8] 16x8:0 @1\n"},
        {"const char font[2][4] = {{1,2,3,4},{1,2}};", "font[2][4] 6x4:1 (rows of different lengths) @1\n"},
        {"const char font[2][4] = {1,2,3,4};",
         "font[2][4] 0 (each row needs a list of its own in braces) @1\n"},
        // Numbers with suffixes and Arduino's binary macros.
        {"const uint8_t n_light[] = {0x5AU, B01011010, 90ul, 0132u, 0b1011010UL, 90LL, B0, 0};",
         "n_light[] 8:90 @1\nplane n_light\n"},
        // Declarations that define nothing, or no array of bytes.
        {"extern const uint8_t x_light[8];\nextern unsigned char y[] = {1};\nint z[] = {1};\n", ""},
        {"static unsigned char buffer[16];\nunsigned char *p = 0;\n", ""},
        // A name merely ending in "light" is no sprite...
        {"unsigned char backlight[]={1,2,3};", "backlight[] 3:1 @1\n"},
        // ... unless its bound says 8 or its other plane is declared.
        {"unsigned char backlight[8]={1,2,3};",
         "backlight[8] 3:1 @1\nplane backlight (3 numbers; a sprite plane has 8)\n"},
        {"unsigned char backlight[]={1};\nunsigned char backdark[]=" + kEight,
         "backlight[] 1:1 @1\nbackdark[] 8:1 @2\nplane backlight (1 number; a sprite plane has 8)\nplane "
         "backdark\n"},
        // Why bytes cannot be read.
        {"unsigned char a_light[]={256,2,3,4,5,6,7,8};",
         "a_light[] 8:2 (256 does not fit in a byte) @1\nplane a_light (256 does not fit in a byte)\n"},
        {"unsigned char a_light[]={'a',2,3,4,5,6,7,8};",
         "a_light[] 8:2 ('a' is not a number) @1\nplane a_light ('a' is not a number)\n"},
        {"unsigned char a_light[]={1.5,2,3,4,5,6,7,8};",
         "a_light[] 8:2 ('1.5' is not a number) @1\nplane a_light ('1.5' is not a number)\n"},
        {"unsigned char a_light[]={1 2,3,4,5,6,7,8};",
         "a_light[] 1 (a comma is missing after 1) @1\nplane a_light (a comma is missing after 1)\n"},
        // Two complete declarations on a line are two; otherwise the longest
        // name is read, as the program writes typed names.
        {"static unsigned char Alight[]=" + kEight + " static unsigned char Adark[]=" + kEight,
         "Alight[] 8:1 @1\nAdark[] 8:1 @1\nplane Alight\nplane Adark\n"},
        {"uint8_t t[]={1};uint8_t u[]={2}; uint8_t v[]={3};", "t[] 1:1 @1\nu[] 1:2 @1\nv[] 1:3 @1\n"},
        {"static unsigned char Alight[]={xlight[]=" + kEight,
         "Alight[]={xlight[] 8:1 @1\nplane Alight[]={xlight\n"},
        {"static unsigned char my sprite light[]=" + kEight,
         "my sprite light[] 8:1 @1\nplane my sprite light\n"},
        // A lone CR ends a line.
        {"// a\rstatic unsigned char Alight[]=" + kEight + "\rstatic unsigned char Adark[]=\r" + kEight
             + "\r",
         "Alight[] 8:1 @2\nAdark[] 8:1 @3\nplane Alight\nplane Adark\n"},
        // Nothing inside a block comment, closed or not.
        {"/*\nstatic unsigned char Alight[]=" + kEight + "\n*/\nstatic unsigned char Blight[]=" + kEight
             + "\nint x; /* open\nstatic unsigned char Clight[]=" + kEight,
         "Blight[] 8:1 @4\nplane Blight\n"},
        {"char s[] = \"/*\";\nstatic unsigned char Alight[]=" + kEight, "Alight[] 8:1 @2\nplane Alight\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(reading(c.text), c.expected) << c.text;
}

TEST(GrammarArrays, RewritingTokensKeepsEachOnesNotationWidthCaseAndSuffix)
{
    const std::string text =
        "const uint8_t PROGMEM a_light[] = {0x5aU, B0, 0X0Aul, 007u, 9, 0b0, 0xFF, 0x00};";
    const auto found = scanDeclarations(text).at(0);
    EXPECT_EQ(applied(text, rewriteNumbers(text, found, {0xAB, 0x66, 0xCD, 8, 255, 5, 0xab, 0xCD})),
              "const uint8_t PROGMEM a_light[] = {0xabU, B1100110, 0XCDul, 010u, 255, 0b101, 0xAB, 0xcd};");
    // A chosen few tokens of any array, in the case the caller says.
    const std::string tiles = "unsigned char t[] = {\n0x00, 0x01,\n0x02, 0x03 };";
    const auto array = scanByteArrays(tiles).at(0);
    const std::vector<NumberToken> middle(array.numbers.begin() + 1, array.numbers.begin() + 3);
    EXPECT_EQ(applied(tiles, rewriteTokens(tiles, middle, {0xEF, 0xBE}, true)),
              "unsigned char t[] = {\n0x00, 0xef,\n0xbe, 0x03 };");
}

TEST(GrammarArrays, NewPlanesCopyTheHeadOfWhatTheFileHolds)
{
    // The last pair's whole head, attribute words included, one line.
    const std::string pair = "const uint8_t PROGMEM a_light[8] ALIGNED\n  = {0x5aU, 0, 0, 0, 0, 0, 0, 0};\n";
    EXPECT_EQ(
        newDeclaration(pair, "b_", Plane::Light, kHeart).inserted,
        "\nconst uint8_t PROGMEM b_light[8] ALIGNED = {0x66U, 0xffU, 0xffU, 0xffU, 0x7eU, 0x3cU, 0x18U, "
        "0x00U};");
    // Tile arrays but no pairs: the head of the last array, "[]" for its
    // bounds, a one-line body.
    const std::string font =
        "#include <avr/pgmspace.h>\r\nconst unsigned char PROGMEM font[2][8] =\r\n{\r\n"
        "  { B0, B1, B0, B0, B0, B0, B0, B0 },\r\n  { B0, B0, B0, B0, B0, B0, B0, B0 },\r\n};\r\n"
        "// end\r\n";
    EXPECT_EQ(
        applied(font, newDeclaration(font, "x", Plane::Light, kHeart)),
        font.substr(0, font.find("// end"))
            + "const unsigned char PROGMEM xlight[] = {B1100110, B11111111, B11111111, B11111111, B1111110, "
              "B111100, B11000, B0};\r\n// end\r\n");
    // A CR-only file gets CR line ends.
    const std::string cr = "// a\rstatic unsigned char Alight[]={1,2,3,4,5,6,7,8};\r// b";
    EXPECT_EQ(newDeclaration(cr, "A", Plane::Dark, kCount).inserted,
              "\rstatic unsigned char Adark[]={1,2,3,4,5,6,7,8};");
    EXPECT_EQ(newDeclaration("// a\r", "A", Plane::Dark, kCount).inserted,
              "\rstatic unsigned char Adark[]={0x01,0x02,0x03,0x04,0x05,0x06,0x07,0x08};");
}

TEST(GrammarArrays, NewLinesStayOutOfCommentsAndIfZeroBlocks)
{
    const std::string ifZero =
        "#if 0\n#ifdef X\nstatic unsigned char Alight[]=" + kEight + "\n#endif\n#endif\nint y;\n";
    const auto edit = newDeclaration(ifZero, "B", Plane::Light, kCount);
    EXPECT_EQ(edit.position, ifZero.find("\nint y;"));
    const std::string live = "#if 1\nstatic unsigned char Alight[]=" + kEight + "\n#endif\n";
    EXPECT_EQ(newDeclaration(live, "B", Plane::Light, kCount).position, live.find("\n#endif"));
    const std::string comment = "static unsigned char Alight[]=" + kEight + " /* a\nb */ int z;\nint w;\n";
    EXPECT_EQ(newDeclaration(comment, "B", Plane::Light, kCount).position, comment.find("\nint w;"));
}

TEST(GrammarArrays, ADeclarationSharingItsLineIsRemovedAlone)
{
    const std::string text =
        "static unsigned char Alight[]=" + kEight + " static unsigned char Adark[]=" + kEight + "\nint x;\n";
    const auto found = scanDeclarations(text);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(applied(text, removeDeclaration(text, found[0])),
              "static unsigned char Adark[]=" + kEight + "\nint x;\n");
    EXPECT_EQ(applied(text, removeDeclaration(text, found[1])),
              "static unsigned char Alight[]=" + kEight + "\nint x;\n");
    EXPECT_EQ(applied(text, renameDeclaration(found[1], "B")), "static unsigned char Alight[]=" + kEight
                                                                   + " static unsigned char Bdark[]=" + kEight
                                                                   + "\nint x;\n");
}

TEST(GrammarArrays, MessagesCutLongNames)
{
    EXPECT_EQ(shortName(std::string(100, 'a')), std::string(80, 'a') + "...");
    EXPECT_EQ(shortName("ab"), "ab");
    EXPECT_EQ(shortName("a\xC3\xA9", 2), "a...");
}

} // namespace
