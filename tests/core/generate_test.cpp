#include "codegen/generate.h"
#include "codegen/plainpanes.h"
#include "pictures.h"

#include <gtest/gtest.h>

using namespace bitloom;
using bitloom::test::filledGrid;
using bitloom::test::gridOf;

namespace {

const std::string kZeroBytes = "0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00";
const std::string kFullBytes = "0xFF,0xFF,0xFF,0xFF,0xFF,0xFF,0xFF,0xFF";

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
    GenerateResult run(const std::string& name, const Grid& grid)
    {
        names.setText(name);
        return generate(grid, kPalette, module, names, pane);
    }
    int writesOf(const std::string& name, const Grid& grid, GenerateResult expected = GenerateResult::Updated)
    {
        const int before = pane.writes();
        EXPECT_EQ(run(name, grid), expected) << name;
        return pane.writes() - before;
    }
    void setText(const std::string& text)
    {
        pane.setText(text);
        writesBefore = pane.writes();
    }
    const SpriteEntry& entry(int i) const { return module.spriteTable[static_cast<std::size_t>(i)]; }

    Module1 module;
    PlainNameBox names;
    PlainCodePane pane;
    int writesBefore = 0;
};

const Grid kGridA1 = gridOf({"+.......", "........", "........", "........", "........", "........", "........",
                             "_______#"});
const Grid kGridB = gridOf({"_______#", "________", "________", "oooooooo", "________", "________", "________",
                            "________"});
const Grid kGridA2 = gridOf({"#.......", "........", "........", "........", "........", "........", "........",
                             ".......#"});

const std::string kWorkedExample =
    "\nstatic unsigned char Alight[]={0x80,0x00,0x00,0x00,0x00,0x00,0x00,0x01};"
    "\nstatic unsigned char Adark[]={0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x01};"
    "\nstatic unsigned char Blight[]={0x01,0x00,0x00,0x00,0x00,0x00,0x00,0x00};"
    "\nstatic unsigned char Bdark[]={0x01,0x00,0x00,0xFF,0x00,0x00,0x00,0x00};";

TEST_F(Generate, WorkedExampleAndItsRerun)
{
    EXPECT_EQ(writesOf("A", kGridA1), 4);
    EXPECT_EQ(writesOf("B", kGridB), 4);
    EXPECT_EQ(pane.text(), kWorkedExample);
    EXPECT_EQ(names.items(), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(entry(0).name, "A");
    EXPECT_EQ(entry(1).name, "B");
    EXPECT_EQ(entry(2).name, "");
    EXPECT_EQ(entry(0).codes[7], 1);
    EXPECT_EQ(entry(0).codes[56], 3);
    EXPECT_EQ(entry(1).codes[24], 2);
    EXPECT_EQ(entry(1).codes[0], 3);

    EXPECT_EQ(writesOf("A", kGridA2), 2);
    std::string expected = kWorkedExample;
    const std::string oldDark = "Adark[]={0x00,";
    expected.replace(expected.find(oldDark), oldDark.size(), "Adark[]={0x80,");
    EXPECT_EQ(pane.text(), expected);
    EXPECT_EQ(names.items(), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(entry(0).name, "A");
    EXPECT_EQ(entry(1).name, "B");
    EXPECT_EQ(entry(2).name, "");
    EXPECT_EQ(entry(0).codes[7], 3);
    // The head and tail are what the last splice left around the dark bytes.
    EXPECT_EQ(module.textHead, expected.substr(0, expected.find("Adark[]={") + 9));
    EXPECT_EQ(module.textTail, expected.substr(expected.find("};\nstatic unsigned char Blight")));
}

TEST_F(Generate, FirstCallWithTheInitialName)
{
    Module1 fresh;
    PlainNameBox box; // starts with the text "Sprite"
    PlainCodePane code;
    EXPECT_EQ(generate(initialGrid(), kPalette, fresh, box, code), GenerateResult::Updated);
    EXPECT_EQ(code.text(), lightLine("Sprite", kZeroBytes) + darkLine("Sprite", kZeroBytes));
    EXPECT_EQ(box.items(), std::vector<std::string>{"Sprite"});
    EXPECT_EQ(fresh.spriteTable[0].name, "Sprite");
}

TEST_F(Generate, KnownNameKeepsEverythingOutsideItsBraces)
{
    const std::string before = "// sprites\n\nstatic unsigned char Alight[]={ 1, 2 };  /* keep */"
                               "\nint x = 3;\nstatic unsigned char Adark[]={};\n}\n";
    setText(before);
    module.spriteTable[0].name = "A";
    EXPECT_EQ(writesOf("A", filledGrid(kPalette[1])), 2);
    EXPECT_EQ(pane.text(), "// sprites\n\nstatic unsigned char Alight[]={" + kFullBytes
                               + "};  /* keep */\nint x = 3;\nstatic unsigned char Adark[]={" + kZeroBytes
                               + "};\n}\n");
    EXPECT_TRUE(names.items().empty());
    EXPECT_EQ(entry(0).codes[0], 1);
}

TEST_F(Generate, MissingDarkLineIsAppendedAlone)
{
    setText(lightLine("A", kZeroBytes) + "\n// end");
    module.spriteTable[3].name = "A";
    EXPECT_EQ(writesOf("A", filledGrid(kPalette[3])), 3);
    EXPECT_EQ(pane.text(), lightLine("A", kFullBytes) + "\n// end" + darkLine("A", kFullBytes));
    EXPECT_TRUE(names.items().empty());
    EXPECT_EQ(findFreeSlot(module.spriteTable), 0);
    EXPECT_EQ(entry(3).codes[63], 3);
}

TEST_F(Generate, MissingLightLineRegistersTheNameAgain)
{
    run("A", filledGrid(kPalette[0]));
    // Someone deletes the light line by hand; the dark line stays.
    setText(darkLine("A", kZeroBytes));
    EXPECT_EQ(writesOf("A", filledGrid(kPalette[2])), 3);
    EXPECT_EQ(pane.text(), darkLine("A", kFullBytes) + lightLine("A", kZeroBytes));
    EXPECT_EQ(names.items(), (std::vector<std::string>{"A", "A"}));
    EXPECT_EQ(entry(1).name, "A");
    EXPECT_EQ(entry(1).codes[0], 2) << "the newer entry is stored";
    EXPECT_EQ(entry(0).codes[0], 0);
}

TEST_F(Generate, EmptyNameHasItsOwnDeclarationsAndLeavesItsEntryFree)
{
    run("Sprite", filledGrid(kPalette[3]));
    const std::string spriteLines = pane.text();
    EXPECT_EQ(writesOf("", filledGrid(kPalette[1])), 4);
    EXPECT_EQ(pane.text(), spriteLines + lightLine("", kFullBytes) + darkLine("", kZeroBytes));
    EXPECT_EQ(names.items(), (std::vector<std::string>{"Sprite", ""}));
    EXPECT_EQ(findFreeSlot(module.spriteTable), 1);
    EXPECT_EQ(entry(100).codes[0], 1) << "stored into the highest free entry";

    EXPECT_EQ(writesOf("", filledGrid(kPalette[2])), 2);
    EXPECT_EQ(pane.text(), spriteLines + lightLine("", kZeroBytes) + darkLine("", kFullBytes));
    EXPECT_EQ(names.items().size(), 2u);
}

// Two names where a plain search for one could land in the other's lines.
struct NamePair {
    std::string first;
    std::string second;
};

void PrintTo(const NamePair& p, std::ostream* os) { *os << '"' << p.first << "\" then \"" << p.second << '"'; }

class GenerateNamePair : public Generate, public ::testing::WithParamInterface<NamePair> {};

TEST_P(GenerateNamePair, EachNameKeepsItsOwnLines)
{
    const auto& [first, second] = GetParam();
    const Grid black = filledGrid(kPalette[3]);
    const Grid grey = filledGrid(kPalette[1]);
    const Grid dark = filledGrid(kPalette[2]);

    EXPECT_EQ(writesOf(first, black), 4);
    EXPECT_EQ(writesOf(second, grey), 4) << "the second name is new";
    const std::string secondLines = lightLine(second, kFullBytes) + darkLine(second, kZeroBytes);
    EXPECT_EQ(pane.text(), lightLine(first, kFullBytes) + darkLine(first, kFullBytes) + secondLines);
    EXPECT_EQ(names.items(), (std::vector<std::string>{first, second}));

    EXPECT_EQ(writesOf(first, dark), 2);
    EXPECT_EQ(pane.text(), lightLine(first, kZeroBytes) + darkLine(first, kFullBytes) + secondLines);
    EXPECT_EQ(writesOf(second, grey), 2);
    EXPECT_EQ(pane.text(), lightLine(first, kZeroBytes) + darkLine(first, kFullBytes) + secondLines);
    EXPECT_EQ(names.items().size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(
    Names, GenerateNamePair,
    ::testing::Values(NamePair{"BA", "A"}, NamePair{"A", "BA"}, NamePair{"AB", "A"}, NamePair{"Sprite", ""},
                      NamePair{"", "Sprite"}, NamePair{"A", "a"}, NamePair{"A", "A "}, NamePair{"A ", "A"},
                      NamePair{"Sprite", "Spritelight"}, NamePair{"Spritelight", "Sprite"},
                      NamePair{"Sprite", "Spritedark"}, NamePair{"A", "Alight[]={"},
                      NamePair{"Alight[]={", "A"}, NamePair{"A", "Alight[]={}"}, NamePair{"Alight[]={}", "A"},
                      NamePair{"Adark[]={0x", "A"}, NamePair{"A", "Adark[]={0x"}, NamePair{"light[]={", ""},
                      NamePair{"", "dark[]={}"}, NamePair{"x};", "x"}, NamePair{"/* */ {", "*/"},
                      NamePair{"Ğöç", "ğöç"}, NamePair{"e\xCC\x81", "e"}, NamePair{"A\tB", "A B"}),
    [](const auto& info) { return "Pair" + std::to_string(info.index); });

TEST_F(Generate, FullTableRefusesANewNameAndChangesNothing)
{
    for (int i = 0; i < kSpriteTableSize; ++i)
        run("S" + std::to_string(i), filledGrid(kPalette[static_cast<std::size_t>(i % 4)]));
    ASSERT_EQ(findFreeSlot(module.spriteTable), std::nullopt);

    const std::string text = pane.text();
    const auto items = names.items();
    const SpriteTable table = module.spriteTable;
    const int writes = pane.writes();
    for (const char* newcomer : {"S101", "", "s0"}) {
        EXPECT_EQ(run(newcomer, filledGrid(kPalette[3])), GenerateResult::TableFull) << newcomer;
        EXPECT_EQ(pane.text(), text);
        EXPECT_EQ(pane.writes(), writes);
        EXPECT_EQ(names.items(), items);
        for (std::size_t i = 0; i < table.size(); ++i) {
            EXPECT_EQ(module.spriteTable[i].name, table[i].name);
            EXPECT_EQ(module.spriteTable[i].codes, table[i].codes);
        }
    }

    // Known names still update in place.
    EXPECT_EQ(writesOf("S100", filledGrid(kPalette[2])), 2);
    EXPECT_EQ(entry(100).codes[0], 2);
    EXPECT_EQ(pane.text().size(), text.size());
}

struct MalformedCase {
    const char* label;
    std::string text;
    std::string expected; // "" when the text must stay as it was
};

void PrintTo(const MalformedCase& c, std::ostream* os) { *os << c.label; }

class GenerateMalformed : public Generate, public ::testing::WithParamInterface<MalformedCase> {};

TEST_P(GenerateMalformed, SpliceLeavesTheLineAndStillStores)
{
    const auto& c = GetParam();
    setText(c.text);
    module.spriteTable[0].name = "A";
    EXPECT_EQ(run("A", filledGrid(kPalette[3])), GenerateResult::MalformedDeclaration);
    EXPECT_EQ(pane.text(), c.expected.empty() ? c.text : c.expected);
    for (const Code code : entry(0).codes)
        ASSERT_EQ(code, 3) << "the drawing is stored all the same";
    EXPECT_TRUE(names.items().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, GenerateMalformed,
    ::testing::Values(
        MalformedCase{"LightWithoutBraceAtEnd", "\nstatic unsigned char Alight[]={0x00", ""},
        MalformedCase{"LightBraceOnlyOnALaterLine",
                      "\nstatic unsigned char Alight[]={0x00,\nstatic unsigned char Adark[]={};\n}", ""},
        MalformedCase{"DarkWithoutBrace", lightLine("A", kZeroBytes) + "\nstatic unsigned char Adark[]={\n};",
                      lightLine("A", kFullBytes) + "\nstatic unsigned char Adark[]={\n};"}),
    [](const auto& info) { return std::string(info.param.label); });

} // namespace
