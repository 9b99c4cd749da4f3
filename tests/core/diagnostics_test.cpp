#include "codegen/diagnostics.h"

#include "model/spritetable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

namespace bitloom {
namespace {

const std::string kRows = "{0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00};";

std::string light(const std::string& name, const std::string& rows = kRows)
{
    return "static unsigned char " + name + "light[]=" + rows + "\n";
}
std::string dark(const std::string& name, const std::string& rows = kRows)
{
    return "static unsigned char " + name + "dark[]=" + rows + "\n";
}

// Kind, line and name of each diagnostic, for whole-list comparisons.
using Found = std::vector<std::tuple<DiagnosticKind, int, std::string>>;
Found found(const std::string& text)
{
    Found result;
    for (const Diagnostic& d : diagnose(text))
        result.emplace_back(d.kind, d.line, d.name);
    return result;
}

TEST(Diagnostics, WellFormedTextHasNone)
{
    EXPECT_TRUE(found("").empty());
    EXPECT_TRUE(found("// only comments\nint x;\n").empty());
    EXPECT_TRUE(
        found("#pragma once\n" + light("Hero") + dark("Hero") + light("Ship") + dark("Ship")).empty());
    // Rows of one hex digit, blanks around items and a CRLF line end are read.
    EXPECT_TRUE(found(light("A", "{ 0x1 ,0xF,0x00,0x00,0x00,0x00,0x00,0x00};\r") + dark("A")).empty());
}

TEST(Diagnostics, EachProblemOnItsLine)
{
    const std::string text = "// sprites\n"                                              // 1
                             + light("Hero") + dark("Hero")                              // 2, 3
                             + light("Bad", "{0x00,0x00};")                              // 4
                             + dark("Bad", "{0x00,0x00,0x00,0x00,0x00,0x00,0x00,0xZZ};") // 5
                             + light("Hero")                                             // 6
                             + light("Lonely")                                           // 7
                             + dark("Orphan")                                            // 8
                             + light("9lives") + dark("9lives")                          // 9, 10
                             + dark("Hero");                                             // 11
    EXPECT_EQ(found(text), (Found{
                               {DiagnosticKind::UnreadableDeclaration, 4, "Bad"},
                               {DiagnosticKind::UnreadableDeclaration, 5, "Bad"},
                               {DiagnosticKind::DeclaredTwice, 6, "Hero"},
                               {DiagnosticKind::MissingDark, 7, "Lonely"},
                               {DiagnosticKind::MissingLight, 8, "Orphan"},
                               {DiagnosticKind::NotIdentifier, 9, "9lives"},
                               {DiagnosticKind::DeclaredTwice, 11, "Hero"},
                           }));
    const std::vector<Diagnostic> all = diagnose(text);
    EXPECT_EQ(all[2].otherLine, 2);
    EXPECT_EQ(all[2].plane, Plane::Light);
    EXPECT_EQ(all[6].otherLine, 3);
    EXPECT_EQ(all[6].plane, Plane::Dark);
    EXPECT_EQ(all[5].identifier.problem, IdentifierProblem::LeadingDigit);
}

TEST(Diagnostics, ANameIsCheckedOnceWhereItFirstAppears)
{
    // The dark line comes first here; the name is still reported once.
    EXPECT_EQ(found(dark("int") + light("int")), (Found{{DiagnosticKind::NotIdentifier, 1, "int"}}));
}

TEST(Diagnostics, SpritesBeyondTheTableAreErrors)
{
    std::string text;
    for (int i = 0; i < kSpriteTableSize + 2; ++i)
        text += light("s" + std::to_string(i)) + dark("s" + std::to_string(i));
    // A repeated light line is no new sprite and does not count.
    text = light("s0") + text;
    EXPECT_EQ(found(text), (Found{
                               {DiagnosticKind::DeclaredTwice, 2, "s0"},
                               {DiagnosticKind::BeyondTable, 2 * kSpriteTableSize + 2, "s101"},
                               {DiagnosticKind::BeyondTable, 2 * kSpriteTableSize + 4, "s102"},
                           }));
}

// Declarations in other shapes are checked as Open reads them: a body that
// spans lines ends on its last line, and a sprite whose light declaration
// cannot be read is not opened, so it neither needs a dark one nor takes
// an entry of the table.
TEST(Diagnostics, DeclarationsInEveryShape)
{
    const std::string text = "#ifndef SPRITES_H\n"                                      // 1
                             "const uint8_t heart_light[8] PROGMEM = {\n"               // 2
                             "    0x66, 0xff, /* row 2 */ 0xff, 0xff,\n"                // 3
                             "    0x7e, 0x3c, 0x18, 0x00,\n"                            // 4
                             "};\n"                                                     // 5
                             "static const unsigned char gem_light[8] = { 1, 2, 3 };\n" // 6
                             "std::uint8_t heart_dark[]={0,0,0,0,0,0,0,0b0};\n"         // 7
                             "#endif\n";
    EXPECT_EQ(found(text), (Found{{DiagnosticKind::UnreadableDeclaration, 6, "gem_"}}));
    const std::vector<DeclarationSite> sites = scanDeclarations(text);
    ASSERT_EQ(sites.size(), 3u);
    EXPECT_EQ(sites[0].firstLine, 2);
    EXPECT_EQ(sites[0].lastLine, 5);
    EXPECT_EQ(sites[1].lastLine, 6);
    EXPECT_EQ(sites[2].firstLine, 7);

    // 101 readable sprites and unreadable ones between them: none beyond.
    std::string full;
    for (int i = 0; i < kSpriteTableSize; ++i)
        full += light("s" + std::to_string(i)) + dark("s" + std::to_string(i))
                + light("u" + std::to_string(i), "{0,0,0,0,0,0,0,256};");
    const Found problems = found(full);
    EXPECT_EQ(problems.size(), static_cast<std::size_t>(kSpriteTableSize));
    EXPECT_TRUE(std::ranges::all_of(
        problems, [](const auto& p) { return std::get<0>(p) == DiagnosticKind::UnreadableDeclaration; }));
}

TEST(Diagnostics, AByteOrderMarkStaysOnLineOne)
{
    // The sites point into the text, which must outlive them.
    const std::string text = "\xEF\xBB\xBF" + light("A") + "\n" + dark("A");
    const std::vector<DeclarationSite> sites = scanDeclarations(text);
    ASSERT_EQ(sites.size(), 2u);
    EXPECT_EQ(sites[0].firstLine, 1);
    EXPECT_EQ(sites[0].name, "A");
    EXPECT_EQ(sites[1].firstLine, 3);
    EXPECT_EQ(sites[1].plane, Plane::Dark);
    EXPECT_TRUE(sites[0].readable && sites[1].readable);
}

// Two declarations on one line are two, and a name declared again is an
// error; lines count a lone CR as a line end; an array merely named like a
// plane is a warning with its reason, never an error.
TEST(Diagnostics, SharedLinesCrLinesAndArraysNamedLikePlanes)
{
    const std::string twice = "static unsigned char Alight[]=" + kRows
                              + " static unsigned char Adark[]=" + kRows + "\n" + light("A") + dark("A");
    EXPECT_EQ(found(twice),
              (Found{{DiagnosticKind::DeclaredTwice, 2, "A"}, {DiagnosticKind::DeclaredTwice, 3, "A"}}));

    const std::string cr = "// a\r" + light("B").substr(0, light("B").size() - 1) + "\r\r"
                           + "static unsigned char Bdark[8]={1,2,3};\r";
    EXPECT_EQ(found(cr), (Found{{DiagnosticKind::UnreadableDeclaration, 4, "B"}}));
    EXPECT_EQ(diagnose(cr).front().reason, "3 numbers; a sprite plane has 8");

    const auto backlight = diagnose("unsigned char backlight[]={1,2,3};\n");
    ASSERT_EQ(backlight.size(), 1u);
    EXPECT_EQ(backlight[0].kind, DiagnosticKind::NotPlane);
    EXPECT_EQ(severityOf(backlight[0].kind), Severity::Warning);
    EXPECT_EQ(backlight[0].reason, "3 numbers; a sprite plane has 8");
    EXPECT_EQ(diagnose(light("C", "{1,2,3,4,5,6,7,0x100};")).front().reason, "0x100 does not fit in a byte");
}

} // namespace
} // namespace bitloom
