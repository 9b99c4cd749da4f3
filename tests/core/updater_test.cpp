#include "codegen/updater.h"
#include "document/document.h"
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
const Grid kWhite = filledGrid(Cell::White), kGrey = filledGrid(Cell::Grey);
const Grid kDark = filledGrid(Cell::DarkGrey), kBlack = filledGrid(Cell::Black);

std::string lightLine(const std::string& name, const std::string& bytes)
{
    return "\nstatic unsigned char " + name + "light[]={" + bytes + "};";
}

std::string darkLine(const std::string& name, const std::string& bytes)
{
    return "\nstatic unsigned char " + name + "dark[]={" + bytes + "};";
}

// The code text and the sheet as a document keeps them, with the grid set
// directly: each regeneration is a right press (which regenerates without
// painting), then the pop-up is closed again.
class Generate : public ::testing::Test {
protected:
    Generate()
    {
        subscription = doc.subscribe(
            [this](const DocumentChange& change) { mRefused = mRefused || (change.changes & Refused); });
    }
    // Regenerates `grid` under `name`.
    void writesOf(const std::string& name, const Grid& grid,
                  std::optional<Refusal::Reason> expected = std::nullopt)
    {
        doc.typeName(name);
        paint(grid);
        mRefused = false;
        doc.press(0, MouseButton::Right);
        doc.choosePen();
        EXPECT_EQ(mRefused, expected.has_value()) << '"' << name << '"';
        if (expected && mRefused) {
            EXPECT_EQ(doc.lastRefusal().reason, *expected);
        }
    }
    // Paints the grid cell by cell as a user would; unpainted cells stay.
    void paint(const Grid& grid)
    {
        for (int k = 0; k < kCellCount; ++k) {
            const Cell shade = grid[std::size_t(k)];
            if (!isShade(shade) || doc.grid()[std::size_t(k)] == shade)
                continue;
            doc.selectColour(codeOf(shade));
            doc.press(k, MouseButton::Left);
        }
    }
    void setText(const std::string& text) { ASSERT_FALSE(doc.open(text, "")); }
    const std::string& text() const { return doc.code(); }
    const std::vector<std::string>& items() const { return doc.names(); }
    const SpriteEntry& entry(std::size_t i) const { return doc.table()[i]; }

    Document doc;
    Subscription subscription;
    bool mRefused = false;
};

TEST_F(Generate, WorkedExampleAndItsRerun)
{
    writesOf("A", gridOf({"+.......", "........", "........", "........", "........", "........", "........",
                          "_______#"}));
    writesOf("B", gridOf({"_______#", "________", "________", "oooooooo", "________", "________", "________",
                          "________"}));
    const std::string example = "\nstatic unsigned char Alight[]={0x80,0x00,0x00,0x00,0x00,0x00,0x00,0x01};"
                                "\nstatic unsigned char Adark[]={0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x01};"
                                "\nstatic unsigned char Blight[]={0x01,0x00,0x00,0x00,0x00,0x00,0x00,0x00};"
                                "\nstatic unsigned char Bdark[]={0x01,0x00,0x00,0xFF,0x00,0x00,0x00,0x00};";
    EXPECT_EQ(text(), example);
    const std::vector<std::string> list = {"A", "B"};
    EXPECT_EQ(items(), list);
    EXPECT_EQ(entry(0).name, "A");
    EXPECT_EQ(entry(1).name, "B");
    EXPECT_EQ(findFreeSlot(doc.table()), 2);
    EXPECT_EQ(entry(1).shades[24], Cell::DarkGrey);

    writesOf("A", gridOf({"#.......", "........", "........", "........", "........", "........", "........",
                          ".......#"}));
    std::string expected = example;
    expected.replace(expected.find("Adark[]={0x00"), 13, "Adark[]={0x80");
    EXPECT_EQ(text(), expected);
    EXPECT_EQ(items(), list);
    EXPECT_EQ(findFreeSlot(doc.table()), 2);
    EXPECT_EQ(entry(0).shades[7], Cell::Black);
}

TEST_F(Generate, FirstCallWithTheInitialName)
{
    writesOf("Sprite", initialGrid());
    EXPECT_EQ(text(), lightLine("Sprite", kZeroBytes) + darkLine("Sprite", kZeroBytes));
    EXPECT_EQ(items(), std::vector<std::string>{"Sprite"});
    EXPECT_EQ(entry(0).name, "Sprite");
}

TEST_F(Generate, KnownNameKeepsEverythingButItsNumbers)
{
    // Only the 8 numbers change, each in its own notation; blanks, comments
    // and what stands after the declaration stay.
    setText("// sprites\n\nstatic unsigned char Alight[]={ 1, 2,3,4 , 5,6,7,0 };  /* keep */\nint x;"
            "\nstatic unsigned char Adark[]={0,0x0,00,0b0,0X0,0,0,0 /* row 8 */};\n}\n");
    writesOf("A", kGrey);
    EXPECT_EQ(
        text(),
        "// sprites\n\nstatic unsigned char Alight[]={ 255, 255,255,255 , 255,255,255,255 };  /* keep */"
        "\nint x;\nstatic unsigned char Adark[]={0,0x0,00,0b0,0X0,0,0,0 /* row 8 */};\n}\n");
    EXPECT_EQ(items(), std::vector<std::string>{"A"}) << "registered once, when opened";
    writesOf("A", kDark);
    EXPECT_EQ(text(), "// sprites\n\nstatic unsigned char Alight[]={ 0, 0,0,0 , 0,0,0,0 };  /* keep */"
                      "\nint x;\nstatic unsigned char Adark[]={255,0xFF,0377,0b11111111,0XFF,255,255,255 /* "
                      "row 8 */};\n}\n");
}

TEST_F(Generate, MissingLinesFollowTheDeclarations)
{
    // Light line present, dark line missing: only the dark line is added,
    // right after the light one.
    setText(lightLine("A", kZeroBytes) + "\n// end");
    writesOf("A", kBlack);
    EXPECT_EQ(text(), lightLine("A", kFullBytes) + darkLine("A", kFullBytes) + "\n// end");
    EXPECT_EQ(items(), std::vector<std::string>{"A"});
    EXPECT_EQ(findFreeSlot(doc.table()), 1);

    // Light line missing: the name is registered, and its dark line is
    // updated where it stands.
    setText(darkLine("A", kZeroBytes));
    EXPECT_TRUE(items().empty()) << "a dark line alone declares no sprite";
    writesOf("A", kDark);
    EXPECT_EQ(text(), darkLine("A", kFullBytes) + lightLine("A", kZeroBytes));
    EXPECT_EQ(items(), std::vector<std::string>{"A"});
    EXPECT_EQ(entry(0).name, "A");
    EXPECT_EQ(entry(0).shades[0], Cell::DarkGrey);
}

TEST_F(Generate, EmptyNameHasItsOwnLinesAndItsEntryStaysFree)
{
    writesOf("Sprite", kBlack);
    const std::string spriteLines = text();
    writesOf("", kGrey);
    writesOf("", kDark);
    EXPECT_EQ(text(), spriteLines + lightLine("", kZeroBytes) + darkLine("", kFullBytes));
    EXPECT_EQ(items(), (std::vector<std::string>{"Sprite", ""}));
    EXPECT_EQ(findFreeSlot(doc.table()), 1);
    EXPECT_EQ(entry(100).shades[0], Cell::DarkGrey) << "stored into the highest free entry";
}

// Two names where a plain search for one could land in the other's lines.
using NamePair = std::pair<std::string, std::string>;

class GenerateNamePair : public Generate, public ::testing::WithParamInterface<NamePair> {};

TEST_P(GenerateNamePair, EachNameKeepsItsOwnLines)
{
    const auto& [first, second] = GetParam();
    writesOf(first, kBlack);
    writesOf(second, kGrey); // the second name is new
    writesOf(first, kDark);
    writesOf(second, kGrey);
    EXPECT_EQ(text(), lightLine(first, kZeroBytes) + darkLine(first, kFullBytes)
                          + lightLine(second, kFullBytes) + darkLine(second, kZeroBytes));
    EXPECT_EQ(items(), (std::vector<std::string>{first, second}));
}

INSTANTIATE_TEST_SUITE_P(
    Names, GenerateNamePair,
    ::testing::Values(NamePair{"BA", "A"}, NamePair{"A", "BA"}, NamePair{"AB", "A"}, NamePair{"Sprite", ""},
                      NamePair{"", "Sprite"}, NamePair{"A", "a"}, NamePair{"A", "A "}, NamePair{"A ", "A"},
                      NamePair{"Sprite", "Spritelight"}, NamePair{"Spritelight", "Sprite"},
                      NamePair{"Sprite", "Spritedark"}, NamePair{"A", "Alight[]={"},
                      NamePair{"Alight[]={", "A"}, NamePair{"Alight[]={}", "A"}, NamePair{"Adark[]={0x", "A"},
                      NamePair{"light[]={", ""}, NamePair{"", "dark[]={}"}, NamePair{"x};", "x"},
                      NamePair{"/* */ {", "*/"}, NamePair{"\xC4\x9E\xC3\xB6", "\xC4\x9F\xC3\xB6"},
                      NamePair{"e\xCC\x81", "e"}, NamePair{"A\tB", "A B"}),
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
        writesOf("S" + std::to_string(i), filledGrid(shadeOfCode(int(i % 4))));
    const std::string textBefore = text();
    const auto itemsBefore = items();
    const SpriteTable table = doc.table();
    for (const char* newcomer : {"S101", "", "s0"}) {
        writesOf(newcomer, kBlack, Refusal::Reason::TableFull);
        EXPECT_EQ(text(), textBefore);
        EXPECT_EQ(items(), itemsBefore);
        for (std::size_t i = 0; i < table.size(); ++i) {
            EXPECT_EQ(entry(i).name, table[i].name);
            EXPECT_EQ(entry(i).shades, table[i].shades);
        }
    }
    writesOf("S100", kDark); // known names still update
    EXPECT_EQ(entry(100).shades[0], Cell::DarkGrey);
}

// A name whose declaration would not read back as that name (a line break
// in it splits the head) adds no lines and is not registered, however
// often it is pressed.
TEST_F(Generate, ANameTheTextCannotHoldAddsNothing)
{
    const std::string sheet = lightLine("A", kZeroBytes) + darkLine("A", kZeroBytes) + "\n";
    setText(sheet);
    for (const char* name : {"B\nC", "B\n", "\n", "B\rC"}) {
        writesOf(name, kGrey, Refusal::Reason::MalformedDeclaration);
        writesOf(name, kGrey, Refusal::Reason::MalformedDeclaration);
    }
    EXPECT_EQ(text(), sheet);
    EXPECT_EQ(items(), std::vector<std::string>{"A"});
    EXPECT_EQ(findFreeSlot(doc.table()), 1);
}

struct MalformedCase {
    std::string text;
    std::string expected; // empty: the text must stay as it was
};

class GenerateMalformed : public Generate, public ::testing::WithParamInterface<MalformedCase> {};

// An unreadable declaration is never written. One of the light plane
// registers no sprite, so nothing is stored and no second declaration is
// added; one of the dark plane stops the update after the light one, and
// the drawing is stored.
TEST_P(GenerateMalformed, AnUnreadableDeclarationIsNeverWritten)
{
    setText(GetParam().text);
    const bool lightReadable = !GetParam().expected.empty();
    EXPECT_EQ(items().size(), lightReadable ? 1u : 0u);
    writesOf("A", kBlack, Refusal::Reason::MalformedDeclaration);
    EXPECT_EQ(text(), lightReadable ? GetParam().expected : GetParam().text);
    writesOf("A", kBlack, Refusal::Reason::MalformedDeclaration);
    EXPECT_EQ(text(), lightReadable ? GetParam().expected : GetParam().text) << "refused again, the same way";
    if (lightReadable) {
        EXPECT_TRUE(std::ranges::all_of(entry(0).shades, [](Cell c) { return c == Cell::Black; }))
            << "stored all the same";
        EXPECT_EQ(items(), std::vector<std::string>{"A"});
    } else {
        EXPECT_TRUE(items().empty());
        EXPECT_EQ(findFreeSlot(doc.table()), 0);
    }
}

const char* const kMalformedNames[] = {"LightUnclosedAtTheEnd", "LightUnclosedOnItsLine",
                                       "LightOfSevenNumbers",   "LightWithAThreeDigitByte",
                                       "DarkOfNoNumbers",       "DarkWithANumberOver255"};

INSTANTIATE_TEST_SUITE_P(
    Texts, GenerateMalformed,
    ::testing::Values(
        MalformedCase{"\nstatic unsigned char Alight[]={0x00", ""},
        MalformedCase{"\nstatic unsigned char Alight[]={0x00,\nstatic unsigned char Adark[]={};\n}", ""},
        MalformedCase{"\nconst uint8_t Alight[] = {1, 2, 3, 4, 5, 6, 7};" + darkLine("A", kZeroBytes), ""},
        MalformedCase{"\nstatic unsigned char Alight[]={0x100,0,0,0,0,0,0,0};", ""},
        MalformedCase{lightLine("A", kZeroBytes) + "\nstatic unsigned char Adark[]={\n};",
                      lightLine("A", kFullBytes) + "\nstatic unsigned char Adark[]={\n};"},
        MalformedCase{lightLine("A", kZeroBytes) + "\nstatic unsigned char Adark[]={0,0,0,0,0,0,0,256};",
                      lightLine("A", kFullBytes) + "\nstatic unsigned char Adark[]={0,0,0,0,0,0,0,256};"}),
    [](const auto& info) { return std::string(kMalformedNames[info.index]); });

} // namespace

// A new sprite whose light or dark identifier an array that is no sprite
// plane already bears would declare it twice: refused, the text untouched.
TEST(NewSprite, NeverDeclaresAnIdentifierTwice)
{
    for (const char* text :
         {"unsigned char backlight[]={1,2,3};\n", "static unsigned char Adark[]={0x01,0x02};\n"}) {
        const std::string name = std::string(text).find("back") != std::string::npos ? "back" : "A";
        const CodeUpdate update = updateDeclarations(text, name, kBlack);
        EXPECT_EQ(update.outcome, CodeUpdate::Outcome::MalformedDeclaration) << text;
        EXPECT_TRUE(update.edits.empty()) << text;
    }
}
