#include "codegen/generate.h"
#include "codegen/plainpanes.h"
#include "pictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>

using namespace bitloom;
using bitloom::test::filledGrid;
using bitloom::test::gridOf;

namespace {

const std::string kZeroBytes = "0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00";
const std::string kFullBytes = "0xFF,0xFF,0xFF,0xFF,0xFF,0xFF,0xFF,0xFF";
const Grid kWhite = filledGrid(kPalette[0]), kGrey = filledGrid(kPalette[1]);
const Grid kDark = filledGrid(kPalette[2]), kBlack = filledGrid(kPalette[3]);

std::string lightLine(const std::string& name, const std::string& bytes)
{
    return "\nstatic unsigned char " + name + "light[]={" + bytes + "};";
}

std::string darkLine(const std::string& name, const std::string& bytes)
{
    return "\nstatic unsigned char " + name + "dark[]={" + bytes + "};";
}

class Generate : public ::testing::Test {
protected:
    // Runs generate for the name; returns how many times it wrote the text.
    int writesOf(const std::string& name, const Grid& grid, GenerateResult expected = GenerateResult::Updated)
    {
        const int before = pane.writes();
        names.setText(name);
        EXPECT_EQ(generate(grid, kPalette, module, names, pane), expected) << '"' << name << '"';
        return pane.writes() - before;
    }
    const SpriteEntry& entry(std::size_t i) const { return module.spriteTable[i]; }

    Module1 module;
    PlainNameBox names; // starts with the text "Sprite"
    PlainCodePane pane;
};

TEST_F(Generate, WorkedExampleAndItsRerun)
{
    EXPECT_EQ(writesOf("A", gridOf({"+.......", "........", "........", "........", "........", "........",
                                    "........", "_______#"})),
              4);
    EXPECT_EQ(writesOf("B", gridOf({"_______#", "________", "________", "oooooooo", "________", "________",
                                    "________", "________"})),
              4);
    const std::string example = "\nstatic unsigned char Alight[]={0x80,0x00,0x00,0x00,0x00,0x00,0x00,0x01};"
                                "\nstatic unsigned char Adark[]={0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x01};"
                                "\nstatic unsigned char Blight[]={0x01,0x00,0x00,0x00,0x00,0x00,0x00,0x00};"
                                "\nstatic unsigned char Bdark[]={0x01,0x00,0x00,0xFF,0x00,0x00,0x00,0x00};";
    EXPECT_EQ(pane.text(), example);
    const std::vector<std::string> list = {"A", "B"};
    EXPECT_EQ(names.items(), list);
    EXPECT_EQ(entry(0).name, "A");
    EXPECT_EQ(entry(1).name, "B");
    EXPECT_EQ(findFreeSlot(module.spriteTable), 2);
    EXPECT_EQ(entry(1).codes[24], 2);

    EXPECT_EQ(writesOf("A", gridOf({"#.......", "........", "........", "........", "........", "........",
                                    "........", ".......#"})),
              2);
    std::string expected = example;
    expected.replace(expected.find("Adark[]={0x00"), 13, "Adark[]={0x80");
    EXPECT_EQ(pane.text(), expected);
    EXPECT_EQ(names.items(), list);
    EXPECT_EQ(findFreeSlot(module.spriteTable), 2);
    EXPECT_EQ(entry(0).codes[7], 3);
    // Head and tail are what the last splice kept around the dark bytes.
    EXPECT_EQ(module.textHead, expected.substr(0, expected.find("Adark[]={") + 9));
    EXPECT_EQ(module.textTail, expected.substr(expected.find("};\nstatic unsigned char Blight")));
}

TEST_F(Generate, FirstCallWithTheInitialName)
{
    EXPECT_EQ(writesOf("Sprite", initialGrid()), 4);
    EXPECT_EQ(pane.text(), lightLine("Sprite", kZeroBytes) + darkLine("Sprite", kZeroBytes));
    EXPECT_EQ(names.items(), std::vector<std::string>{"Sprite"});
    EXPECT_EQ(entry(0).name, "Sprite");
}

TEST_F(Generate, KnownNameKeepsEverythingOutsideItsBraces)
{
    pane.setText("// sprites\n\nstatic unsigned char Alight[]={ 1, 2 };  /* keep */\nint x;"
                 "\nstatic unsigned char Adark[]={};\n}\n");
    module.spriteTable[0].name = "A";
    EXPECT_EQ(writesOf("A", kGrey), 2);
    EXPECT_EQ(pane.text(), "// sprites\n\nstatic unsigned char Alight[]={" + kFullBytes + "};  /* keep */\nint x;"
                               + "\nstatic unsigned char Adark[]={" + kZeroBytes + "};\n}\n");
    EXPECT_TRUE(names.items().empty());
}

TEST_F(Generate, MissingLinesAreAppendedAtTheEnd)
{
    // Light line present, dark line missing: only the dark line is appended.
    pane.setText(lightLine("A", kZeroBytes) + "\n// end");
    module.spriteTable[0].name = "A";
    EXPECT_EQ(writesOf("A", kBlack), 3);
    EXPECT_EQ(pane.text(), lightLine("A", kFullBytes) + "\n// end" + darkLine("A", kFullBytes));
    EXPECT_TRUE(names.items().empty());
    EXPECT_EQ(findFreeSlot(module.spriteTable), 1);

    // Light line missing: the name is registered again in a further entry,
    // and its dark line is updated where it stands.
    pane.setText(darkLine("A", kZeroBytes));
    EXPECT_EQ(writesOf("A", kDark), 3);
    EXPECT_EQ(pane.text(), darkLine("A", kFullBytes) + lightLine("A", kZeroBytes));
    EXPECT_EQ(names.items(), std::vector<std::string>{"A"});
    EXPECT_EQ(entry(1).name, "A");
    EXPECT_EQ(entry(1).codes[0], 2) << "the newer entry is stored";
    EXPECT_EQ(entry(0).codes[0], 3);
}

TEST_F(Generate, EmptyNameHasItsOwnLinesAndItsEntryStaysFree)
{
    writesOf("Sprite", kBlack);
    const std::string spriteLines = pane.text();
    EXPECT_EQ(writesOf("", kGrey), 4);
    EXPECT_EQ(writesOf("", kDark), 2);
    EXPECT_EQ(pane.text(), spriteLines + lightLine("", kZeroBytes) + darkLine("", kFullBytes));
    EXPECT_EQ(names.items(), (std::vector<std::string>{"Sprite", ""}));
    EXPECT_EQ(findFreeSlot(module.spriteTable), 1);
    EXPECT_EQ(entry(100).codes[0], 2) << "stored into the highest free entry";
}

// Two names where a plain search for one could land in the other's lines.
using NamePair = std::pair<std::string, std::string>;

class GenerateNamePair : public Generate, public ::testing::WithParamInterface<NamePair> {};

TEST_P(GenerateNamePair, EachNameKeepsItsOwnLines)
{
    const auto& [first, second] = GetParam();
    EXPECT_EQ(writesOf(first, kBlack), 4);
    EXPECT_EQ(writesOf(second, kGrey), 4) << "the second name is new";
    EXPECT_EQ(writesOf(first, kDark), 2);
    EXPECT_EQ(writesOf(second, kGrey), 2);
    EXPECT_EQ(pane.text(), lightLine(first, kZeroBytes) + darkLine(first, kFullBytes)
                               + lightLine(second, kFullBytes) + darkLine(second, kZeroBytes));
    EXPECT_EQ(names.items(), (std::vector<std::string>{first, second}));
}

INSTANTIATE_TEST_SUITE_P(
    Names, GenerateNamePair,
    ::testing::Values(NamePair{"BA", "A"}, NamePair{"A", "BA"}, NamePair{"AB", "A"}, NamePair{"Sprite", ""},
                      NamePair{"", "Sprite"}, NamePair{"A", "a"}, NamePair{"A", "A "}, NamePair{"A ", "A"},
                      NamePair{"Sprite", "Spritelight"}, NamePair{"Spritelight", "Sprite"},
                      NamePair{"Sprite", "Spritedark"}, NamePair{"A", "Alight[]={"}, NamePair{"Alight[]={", "A"},
                      NamePair{"Alight[]={}", "A"}, NamePair{"Adark[]={0x", "A"}, NamePair{"light[]={", ""},
                      NamePair{"", "dark[]={}"}, NamePair{"x};", "x"}, NamePair{"/* */ {", "*/"},
                      NamePair{"\xC4\x9E\xC3\xB6", "\xC4\x9F\xC3\xB6"}, NamePair{"e\xCC\x81", "e"},
                      NamePair{"A\tB", "A B"}),
    [](const auto& info) {
        // Letters and digits as they are, any other byte as _XX; "_vs_" between.
        const auto part = [](const std::string& name) {
            std::string out;
            for (const unsigned char c : name) {
                if (std::isalnum(c)) {
                    out += char(c);
                } else {
                    char hex[4];
                    std::snprintf(hex, sizeof hex, "_%02X", c);
                    out += hex;
                }
            }
            return out;
        };
        return part(info.param.first) + "_vs_" + part(info.param.second);
    });

TEST_F(Generate, FullTableRefusesANewNameAndChangesNothing)
{
    for (std::size_t i = 0; i < 101; ++i)
        writesOf("S" + std::to_string(i), filledGrid(kPalette[i % 4]));
    const std::string text = pane.text();
    const auto items = names.items();
    const SpriteTable table = module.spriteTable;
    for (const char* newcomer : {"S101", "", "s0"}) {
        EXPECT_EQ(writesOf(newcomer, kBlack, GenerateResult::TableFull), 0);
        EXPECT_EQ(pane.text(), text);
        EXPECT_EQ(names.items(), items);
        for (std::size_t i = 0; i < table.size(); ++i) {
            EXPECT_EQ(entry(i).name, table[i].name);
            EXPECT_EQ(entry(i).codes, table[i].codes);
        }
    }
    EXPECT_EQ(writesOf("S100", kDark), 2) << "known names still update";
    EXPECT_EQ(entry(100).codes[0], 2);
}

struct MalformedCase {
    std::string text;
    std::string expected; // empty: the text must stay as it was
};

class GenerateMalformed : public Generate, public ::testing::WithParamInterface<MalformedCase> {};

TEST_P(GenerateMalformed, SpliceLeavesTheLineAndStillStores)
{
    pane.setText(GetParam().text);
    module.spriteTable[0].name = "A";
    writesOf("A", kBlack, GenerateResult::MalformedDeclaration);
    EXPECT_EQ(pane.text(), GetParam().expected.empty() ? GetParam().text : GetParam().expected);
    EXPECT_TRUE(std::ranges::all_of(entry(0).codes, [](Code c) { return c == 3; })) << "stored all the same";
    EXPECT_TRUE(names.items().empty());
}

const char* const kMalformedNames[] = {"LightUnclosedAtTheEnd", "LightUnclosedOnItsLine",
                                       "DarkClosedOnTheNextLine"};

INSTANTIATE_TEST_SUITE_P(
    Texts, GenerateMalformed,
    ::testing::Values(
        MalformedCase{"\nstatic unsigned char Alight[]={0x00", ""},
        MalformedCase{"\nstatic unsigned char Alight[]={0x00,\nstatic unsigned char Adark[]={};\n}", ""},
        MalformedCase{lightLine("A", kZeroBytes) + "\nstatic unsigned char Adark[]={\n};",
                      lightLine("A", kFullBytes) + "\nstatic unsigned char Adark[]={\n};"}),
    [](const auto& info) { return std::string(kMalformedNames[info.index]); });

} // namespace
