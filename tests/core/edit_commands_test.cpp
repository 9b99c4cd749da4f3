// The sprite commands on a sheet: transforms of a drawing, rename and
// duplicate with their undo steps, the brush run that ends in a
// regeneration, the pen drag, and a sprite as clipboard text.
#include "codegen/reader.h"
#include "codegen/renamer.h"
#include "codegen/spritecopy.h"
#include "declarations.h"
#include "document/document.h"
#include "model/transform.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace bitloom {
namespace {

using test::declarations;
using test::kZero;

Grid randomGrid(std::mt19937& rng, bool withUnpainted)
{
    Grid grid{};
    for (Cell& cell : grid)
        cell = Cell(rng() % (withUnpainted ? 5 : 4)); // the four shades, then Unpainted
    return grid;
}

TEST(Transforms, UndoOneAnotherOnRandomDrawings)
{
    std::mt19937 rng(14);
    for (int round = 0; round < 200; ++round) {
        const Grid grid = randomGrid(rng, true);
        Grid turned = grid;
        for (int i = 0; i < 4; ++i)
            turned = rotatedClockwise(turned);
        EXPECT_EQ(turned, grid) << "four clockwise turns";
        EXPECT_EQ(rotatedAnticlockwise(rotatedClockwise(grid)), grid);
        EXPECT_EQ(rotatedClockwise(rotatedClockwise(grid)), flippedVertically(flippedHorizontally(grid)));
        EXPECT_EQ(flippedHorizontally(flippedHorizontally(grid)), grid);
        EXPECT_EQ(flippedVertically(flippedVertically(grid)), grid);
        EXPECT_EQ(shifted(shifted(grid, 0, -1), 0, 1), grid) << "left then right";
        EXPECT_EQ(shifted(shifted(grid, -1, 0), 1, 0), grid) << "up then down";
        Grid around = grid;
        for (int i = 0; i < kGridSide; ++i)
            around = shifted(around, 0, 1);
        EXPECT_EQ(around, grid) << "eight shifts come round";
        EXPECT_EQ(invertedShades(invertedShades(grid)), painted(grid));
    }
}

TEST(Transforms, MoveCellsWhereTheCommandsSay)
{
    Grid grid = initialGrid();
    grid.fill(Cell::White);
    grid[std::size_t(cellAt(0, 0))] = Cell::Black; // top-left
    EXPECT_EQ(rotatedClockwise(grid)[std::size_t(cellAt(0, 7))], Cell::Black);
    EXPECT_EQ(rotatedAnticlockwise(grid)[std::size_t(cellAt(7, 0))], Cell::Black);
    EXPECT_EQ(flippedHorizontally(grid)[std::size_t(cellAt(0, 7))], Cell::Black);
    EXPECT_EQ(flippedVertically(grid)[std::size_t(cellAt(7, 0))], Cell::Black);
    EXPECT_EQ(shifted(grid, -1, 0)[std::size_t(cellAt(7, 0))], Cell::Black) << "up wraps to the bottom";
    EXPECT_EQ(shifted(grid, 0, -1)[std::size_t(cellAt(0, 7))], Cell::Black) << "left wraps to the right";
    EXPECT_EQ(shifted(grid, 1, 1)[std::size_t(cellAt(1, 1))], Cell::Black);

    Grid shades = initialGrid(); // unpainted counts as white
    shades[0] = Cell::Grey;
    shades[1] = Cell::DarkGrey;
    shades[2] = Cell::Black;
    const Grid inverted = invertedShades(shades);
    EXPECT_EQ(inverted[0], Cell::DarkGrey);
    EXPECT_EQ(inverted[1], Cell::Grey);
    EXPECT_EQ(inverted[2], Cell::White);
    EXPECT_EQ(inverted[3], Cell::Black);
}

void draw(Document& d, const std::string& name, int colour, std::initializer_list<int> cells)
{
    d.typeName(name);
    d.selectColour(colour);
    for (const int cell : cells)
        d.press(cell, MouseButton::Left);
}

// What the document holds of its sheet, compared whole.
struct Sheet {
    Grid grid;
    std::string name, code;
    std::vector<std::string> names;
    std::vector<std::pair<std::string, Shades>> table;

    explicit Sheet(const Document& d) : grid(d.grid()), name(d.name()), code(d.code()), names(d.names())
    {
        for (const SpriteEntry& entry : d.table())
            table.emplace_back(entry.name, entry.shades);
    }
    bool operator==(const Sheet&) const = default;
};

// The code text and the stored drawing agree with the grid: the text reads
// back as the stored drawings, and the current one is the grid's.
void expectAgreement(const Document& d)
{
    const std::vector<DeclaredSprite> read = readDeclarations(d.code());
    ASSERT_EQ(read.size(), d.names().size());
    const std::vector<Shades> stored = d.storedDrawings();
    for (std::size_t i = 0; i < read.size(); ++i) {
        EXPECT_EQ(read[i].name, d.names()[i]);
        EXPECT_EQ(read[i].shades, stored[i]) << "sprite " << read[i].name;
    }
    if (const int current = d.currentIndex(); current >= 0) {
        EXPECT_EQ(stored[std::size_t(current)], painted(d.grid()));
    }
}

TEST(SpriteCommands, EachTransformRegeneratesAsOneStep)
{
    Document d;
    draw(d, "A", 3, {cellAt(0, 0), cellAt(0, 1)});
    draw(d, "B", 1, {cellAt(2, 2)});
    const auto commands = {
        +[](Document& doc) { doc.flipHorizontally(); }, +[](Document& doc) { doc.flipVertically(); },
        +[](Document& doc) { doc.rotateClockwise(); },  +[](Document& doc) { doc.rotateAnticlockwise(); },
        +[](Document& doc) { doc.shiftDrawing(0, 1); }, +[](Document& doc) { doc.shiftDrawing(-1, 0); },
        +[](Document& doc) { doc.invertShades(); }};
    for (const auto command : commands) {
        const Sheet before(d);
        command(d);
        expectAgreement(d);
        EXPECT_NE(d.grid(), before.grid);
        const Sheet after(d);
        d.undo();
        EXPECT_EQ(Sheet(d), before);
        d.redo();
        EXPECT_EQ(Sheet(d), after);
    }
    EXPECT_EQ(d.undoKind(), StepKind::InvertShades);
    // A new name is registered by its first transform, as by a press.
    d.typeName("C");
    d.invertShades();
    EXPECT_EQ(d.names().back(), "C");
    const std::string black = declarations("C", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
                                           {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    EXPECT_EQ(d.code().substr(d.code().size() - black.size()), black) << "unpainted counts as white";
    expectAgreement(d);
}

TEST(SpriteCommands, RenameChangesOnlyTheIdentifiersOfAnyShape)
{
    const std::string text = "// sprites\n"
                             "const uint8_t heart_light[8] PROGMEM = {\n"
                             "    0x66, 0xff, 0xff, 0x7e, /* half */ 0x3c, 0x18, 0x00, 0x00,\n"
                             "};\n"
                             "int heart_lightness = 3;\n"
                             "  static unsigned char heart_dark[]={0,0,0,0,0,0,0,1};\n";
    std::string renamed = text;
    for (const TextEdit& edit : renameSprite(text, "heart_", "love_"))
        applyEdit(renamed, edit);
    std::string expected = text;
    expected.replace(expected.find("heart_dark"), 6, "love_");
    expected.replace(expected.find("heart_light[8]"), 6, "love_");
    EXPECT_EQ(renamed, expected);
    EXPECT_TRUE(renameSprite(text, "heart", "love_").empty()) << "no sprite of that name";

    Document d;
    ASSERT_EQ(d.open("// mine\n" + declarations("A", {1, 2, 3, 4, 5, 6, 7, 8}, kZero).substr(1) + "\nint A;\n"
                         + declarations("B", kZero, kZero).substr(1) + "\n",
                     "sheet.h"),
              std::nullopt);
    d.chooseName(0);
    const Sheet before(d);
    const auto entry = findEntry(d.table(), "A");
    EXPECT_EQ(d.renameSprite("Alpha"), std::nullopt);
    EXPECT_EQ(d.code(), "// mine\n" + declarations("Alpha", {1, 2, 3, 4, 5, 6, 7, 8}, kZero).substr(1)
                            + "\nint A;\n" + declarations("B", kZero, kZero).substr(1) + "\n");
    EXPECT_EQ(d.name(), "Alpha");
    EXPECT_EQ(d.names(), (std::vector<std::string>{"Alpha", "B"}));
    EXPECT_EQ(findEntry(d.table(), "Alpha"), entry);
    EXPECT_EQ(d.undoKind(), StepKind::Rename);
    expectAgreement(d);
    d.undo();
    EXPECT_EQ(Sheet(d), before);
}

TEST(SpriteCommands, RenameRefusesWithoutChangingAnything)
{
    Document d;
    draw(d, "A", 3, {0});
    draw(d, "B", 3, {1});
    const Sheet before(d);
    EXPECT_EQ(d.renameSprite(""), Document::RenameRefusal::EmptyName);
    EXPECT_EQ(d.renameSprite("  "), Document::RenameRefusal::EmptyName);
    EXPECT_EQ(d.renameSprite("A"), Document::RenameRefusal::NameTaken);
    EXPECT_EQ(d.renameSprite("C\nD"), Document::RenameRefusal::LineBreak);
    EXPECT_EQ(d.renameSprite("C\rD"), Document::RenameRefusal::LineBreak);
    EXPECT_EQ(d.renameSprite("X[]={0};\nY"), Document::RenameRefusal::LineBreak);
    EXPECT_EQ(Sheet(d), before);
    EXPECT_EQ(d.undoKind(), StepKind::Paint);
    d.typeName("New");
    EXPECT_EQ(d.renameSprite("C"), Document::RenameRefusal::NoSprite);
    EXPECT_EQ(d.code(), before.code);
}

TEST(SpriteCommands, RenameAndDuplicateOnRandomSheetsUndoExactly)
{
    for (unsigned seed = 1; seed <= 6; ++seed) {
        std::mt19937 rng(seed);
        Document d;
        const int sprites = 3 + int(rng() % 20);
        for (int s = 0; s < sprites; ++s)
            draw(d, "s" + std::to_string(s), int(rng() % 4), {int(rng() % 64), int(rng() % 64)});
        std::vector<Sheet> before, after; // around each command
        for (int action = 0; action < 30; ++action) {
            d.chooseName(int(rng() % d.names().size()));
            before.emplace_back(d);
            const std::vector<std::string> names = d.names();
            const int position = d.currentIndex();
            const auto entry = findEntry(d.table(), d.name());
            const Shades drawing = painted(d.grid());
            if (rng() % 2) {
                const std::string newName = "r" + std::to_string(seed) + "_" + std::to_string(action);
                ASSERT_EQ(d.renameSprite(newName), std::nullopt);
                EXPECT_EQ(d.names().size(), names.size());
                EXPECT_EQ(d.names()[std::size_t(position)], newName) << "the list item keeps its place";
                EXPECT_EQ(findEntry(d.table(), newName), entry) << "so does the table entry";
            } else {
                const std::string original = d.name();
                d.duplicateSprite();
                EXPECT_EQ(d.name().rfind(original + "_copy", 0), 0u) << d.name();
                EXPECT_EQ(d.names().size(), names.size() + 1);
                EXPECT_EQ(d.names().back(), d.name());
                EXPECT_EQ(painted(d.grid()), drawing);
            }
            expectAgreement(d);
            after.emplace_back(d);
        }
        for (std::size_t k = before.size(); k-- > 0;) {
            d.undo();
            ASSERT_EQ(Sheet(d), before[k]) << "seed " << seed << " undo of " << k;
        }
        for (std::size_t k = 0; k < after.size(); ++k) {
            d.redo();
            ASSERT_EQ(Sheet(d), after[k]) << "seed " << seed << " redo of " << k;
        }
    }
}

TEST(SpriteCommands, DuplicateNamesTheFirstFreeCopyAndRespectsAFullTable)
{
    Document d;
    draw(d, "A", 2, {5});
    d.duplicateSprite();
    EXPECT_EQ(d.name(), "A_copy");
    d.chooseName(0);
    d.duplicateSprite();
    EXPECT_EQ(d.name(), "A_copy2");
    d.chooseName(0);
    EXPECT_EQ(d.duplicateName(), "A_copy3");
    EXPECT_EQ(d.undoKind(), StepKind::Duplicate);

    while (d.freeEntries() > 0)
        draw(d, "f" + std::to_string(d.freeEntries()), 1, {0});
    d.chooseName(0);
    bool refused = false;
    const Subscription subscription =
        d.subscribe([&](const DocumentChange& change) { refused = refused || (change.changes & Refused); });
    const Sheet before(d);
    d.duplicateSprite();
    EXPECT_TRUE(refused);
    EXPECT_EQ(d.lastRefusal().reason, Refusal::Reason::TableFull);
    EXPECT_EQ(d.lastRefusal().name, "A_copy3");
    EXPECT_EQ(Sheet(d), before);
}

TEST(BrushRun, EndsInARegenerationAtTheNextActionOrWhenThePointerLeaves)
{
    Document d;
    draw(d, "A", 3, {0});
    draw(d, "B", 1, {1});
    d.chooseBrush();
    d.selectColour(2);
    for (const int cell : {10, 11, 12})
        d.moveOver(cell);
    EXPECT_TRUE(d.brushPending());
    d.chooseName(0); // to A: B keeps the strokes
    EXPECT_FALSE(d.brushPending());
    expectAgreement(d);
    d.chooseName(1);
    EXPECT_EQ(d.grid()[10], Cell::DarkGrey);
    EXPECT_EQ(d.grid()[1], Cell::Grey);

    // The run is one step, put back whole.
    d.undo();
    EXPECT_EQ(d.redoKind(), StepKind::Brush);
    EXPECT_EQ(d.code(), declarations("A", {1, 0, 0, 0, 0, 0, 0, 0}, {1, 0, 0, 0, 0, 0, 0, 0})
                            + declarations("B", {2, 0, 0, 0, 0, 0, 0, 0}, kZero));

    // Leaving the grid ends a run under a new name, which it registers.
    d.typeName("C");
    d.moveOver(20);
    d.leaveGrid();
    EXPECT_EQ(d.names().back(), "C");
    EXPECT_EQ(d.undoKind(), StepKind::Brush);
    expectAgreement(d);
    d.undo();
    EXPECT_EQ(d.names().size(), 2u);
}

TEST(BrushRun, EndingOnAFullTableIsRefusedAsAPressIs)
{
    Document d;
    while (d.freeEntries() > 0)
        draw(d, "f" + std::to_string(d.freeEntries()), 1, {0});
    const std::string code = d.code();
    bool refused = false;
    const Subscription subscription =
        d.subscribe([&](const DocumentChange& change) { refused = refused || (change.changes & Refused); });
    d.typeName("extra");
    d.chooseBrush();
    d.moveOver(3);
    d.selectColour(3);
    EXPECT_TRUE(refused);
    EXPECT_EQ(d.code(), code);
    EXPECT_EQ(d.lastRefusal().name, "extra");
}

TEST(PenDrag, PaintsEachCellAndIsOneStepWithItsPress)
{
    Document d;
    draw(d, "A", 1, {0});
    const Sheet before(d);
    d.selectColour(3);
    d.press(cellAt(1, 1), MouseButton::Left);
    d.dragOver(cellAt(1, 2));
    d.dragOver(cellAt(1, 3));
    EXPECT_EQ(d.grid()[std::size_t(cellAt(1, 3))], Cell::Black);
    d.release();
    expectAgreement(d);
    EXPECT_EQ(d.code(), declarations("A", {1, 0x70, 0, 0, 0, 0, 0, 0}, {0, 0x70, 0, 0, 0, 0, 0, 0}));
    d.undo();
    EXPECT_EQ(d.undoKind(), StepKind::Paint) << "the first press is left";
    EXPECT_EQ(Sheet(d), before);

    // Without a press, or with the brush, a drag paints nothing of its own.
    d.dragOver(5);
    EXPECT_EQ(Sheet(d), before);
    d.chooseBrush();
    d.press(7, MouseButton::Left);
    d.selectColour(0);
    d.dragOver(7);
    EXPECT_EQ(d.grid()[7], Cell::Black);
    // Another action ends the drag as the release does.
    d.choosePen();
    d.selectColour(2);
    const Sheet beforePress(d);
    d.press(8, MouseButton::Left);
    d.dragOver(9);
    d.selectColour(1);
    expectAgreement(d);
    const Cell untouched = d.grid()[10];
    d.dragOver(10);
    EXPECT_EQ(d.grid()[10], untouched) << "the drag is over";
    d.undo();
    EXPECT_EQ(Sheet(d), beforePress);

    // A new sheet while the button is held: the drag went with the old one.
    d.press(8, MouseButton::Left);
    d.dragOver(9);
    d.newDocument();
    d.dragOver(10);
    d.release();
    EXPECT_FALSE(d.canUndo());
    EXPECT_EQ(d.grid(), initialGrid());
}

TEST(SpriteText, ReadsTheFirstPairInAnyShapeAndWritesWhatTheTextHolds)
{
    const std::string text = "int x = 1;\n"
                             "static unsigned char lonelylight[]={1,2,3,4,5,6,7,8};\n"
                             "const uint8_t heart_dark[8] PROGMEM = {\n  0x01, 0, 0, 0,\n  0, 0, 0, 0x80 };\n"
                             "const uint8_t heart_light[8] PROGMEM = {\n  0x03, 0, 0, 0, 0, 0, 0, 0x80 };\n";
    const auto drawing = firstDeclaredDrawing(text);
    ASSERT_TRUE(drawing.has_value());
    Shades expected{};
    expected[0] = Cell::Black; // both planes
    expected[1] = Cell::Grey;  // light only
    expected[std::size_t(cellAt(7, 0))] = Cell::Black;
    EXPECT_EQ(*drawing, expected);
    EXPECT_EQ(firstDeclaredDrawing("no sprite here"), std::nullopt);
    EXPECT_EQ(firstDeclaredDrawing("static unsigned char Alight[]={1,2,3,4,5,6,7,8};"), std::nullopt);

    EXPECT_EQ(declarationsText(text, "heart_"),
              "const uint8_t heart_light[8] PROGMEM = {\n  0x03, 0, 0, 0, 0, 0, 0, 0x80 };\n"
              "const uint8_t heart_dark[8] PROGMEM = {\n  0x01, 0, 0, 0,\n  0, 0, 0, 0x80 };\n");
    EXPECT_EQ(declarationsText(text, "lonely"), std::nullopt);

    Grid grid = initialGrid();
    grid[0] = Cell::DarkGrey;
    EXPECT_EQ(generatedDeclarations("New", grid),
              declarations("New", kZero, {1, 0, 0, 0, 0, 0, 0, 0}).substr(1) + "\n");
    // What was generated reads back as the same drawing.
    EXPECT_EQ(firstDeclaredDrawing(generatedDeclarations("New", grid)), painted(grid));
}

TEST(SpriteText, CopyEndsARunAndPasteIsOneStep)
{
    Document d;
    draw(d, "A", 3, {0});
    d.chooseBrush();
    d.moveOver(1);
    EXPECT_EQ(d.spriteText(),
              declarations("A", {3, 0, 0, 0, 0, 0, 0, 0}, {3, 0, 0, 0, 0, 0, 0, 0}).substr(1) + "\n");
    d.typeName("B");
    EXPECT_EQ(d.spriteText(), declarations("B", kZero, kZero).substr(1) + "\n") << "not registered yet";

    Shades pasted{};
    pasted[5] = Cell::DarkGrey;
    const Sheet before(d);
    d.pasteDrawing(pasted);
    EXPECT_EQ(painted(d.grid()), pasted);
    EXPECT_EQ(d.names().back(), "B");
    expectAgreement(d);
    EXPECT_EQ(d.undoKind(), StepKind::Paste);
    d.undo();
    EXPECT_EQ(Sheet(d), before);
}

} // namespace
} // namespace bitloom
