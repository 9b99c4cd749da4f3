// What each action tells the observers, and how far back the history
// reaches: views repaint from these reports alone, so a change that is not
// reported never reaches the screen.
#include "declarations.h"
#include "document/document.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace bitloom {
namespace {

using test::declarations;

// The reports of one action, merged.
struct Reported {
    Changes changes = 0;
    std::vector<TextEdit> edits;
    bool codeReplaced = false;
    std::vector<int> sprites;
};

class Changes_ : public ::testing::Test {
protected:
    Changes_()
    {
        subscription = doc.subscribe([this](const DocumentChange& change) {
            last.changes |= change.changes;
            last.edits.insert(last.edits.end(), change.codeEdits.begin(), change.codeEdits.end());
            last.codeReplaced = last.codeReplaced || change.codeReplaced;
            last.sprites.insert(last.sprites.end(), change.changedSprites.begin(),
                                change.changedSprites.end());
        });
    }
    // Runs the action and returns what it reported.
    template <typename Action>
    Reported after(Action action)
    {
        last = {};
        action();
        return last;
    }
    void draw(const std::string& name, int colour, int cell)
    {
        doc.typeName(name);
        doc.selectColour(colour);
        doc.press(cell, MouseButton::Left);
    }

    Document doc;
    Subscription subscription;
    Reported last;
};

TEST_F(Changes_, APressOnANewSpriteReportsEverythingItChangedAndTheEditsReplayIt)
{
    const std::string before = doc.code();
    doc.selectColour(3);
    const Reported r = after([&] { doc.press(7, MouseButton::Left); });
    EXPECT_EQ(r.changes,
              CellsChanged | ListChanged | CodeChanged | TableChanged | ModifiedChanged | HistoryChanged);
    EXPECT_FALSE(r.codeReplaced);
    // The edits are the whole change of the text: applied to the text before
    // the action they give the text after it.
    std::string replayed = before;
    for (const TextEdit& edit : r.edits)
        applyEdit(replayed, edit);
    EXPECT_EQ(replayed, doc.code());
    EXPECT_EQ(doc.code(), declarations("Sprite", {0x80, 0, 0, 0, 0, 0, 0, 0}, {0x80, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(r.sprites, std::vector<int>{0});
}

TEST_F(Changes_, APressOnAKnownSpriteEditsOnlyItsBytesAndNamesOnlyItsThumbnail)
{
    draw("A", 1, 0);
    draw("B", 2, 0);
    draw("C", 3, 0);
    doc.chooseName(1);
    const std::string before = doc.code();
    doc.selectColour(3);
    const Reported r = after([&] { doc.press(63, MouseButton::Left); });
    EXPECT_EQ(r.changes, CellsChanged | CodeChanged | TableChanged) << "Undo still says Paint";
    ASSERT_FALSE(r.edits.empty());
    std::string replayed = before;
    for (const TextEdit& edit : r.edits) {
        // Only B's lines are touched, and only a few bytes of them.
        EXPECT_GT(edit.position, before.find("Blight"));
        EXPECT_LT(edit.position, before.find("Clight"));
        EXPECT_LE(edit.removed, 4u);
        applyEdit(replayed, edit);
    }
    EXPECT_EQ(replayed, doc.code());
    EXPECT_EQ(r.sprites, std::vector<int>{1}) << "only B's stored drawing changed";
}

TEST_F(Changes_, ActionsThatCannotChangeTheSheetReportNoCode)
{
    draw("A", 1, 0);
    EXPECT_EQ(after([&] { doc.selectColour(2); }).changes, ToolsChanged);
    EXPECT_EQ(after([&] { doc.selectColour(2); }).changes, 0u) << "nothing changed, nobody is told";
    EXPECT_EQ(after([&] { doc.typeName("A2"); }).changes, CellsChanged | NameChanged);
    EXPECT_EQ(after([&] { doc.chooseName(0); }).changes, CellsChanged | NameChanged);
    doc.press(0, MouseButton::Right);
    EXPECT_EQ(after([&] { doc.chooseBrush(); }).changes, ToolsChanged);
    const Reported brushed = after([&] { doc.moveOver(5); });
    EXPECT_EQ(brushed.changes, CellsChanged | HistoryChanged)
        << "a brush run is a step to undo, but no code yet";
    EXPECT_TRUE(brushed.edits.empty());
}

TEST_F(Changes_, UndoReportsTheEditsThatTakeTheStepBack)
{
    draw("A", 1, 0);
    const std::string drawn = doc.code();
    doc.press(9, MouseButton::Left);
    const std::string pressed = doc.code();
    const Reported undone = after([&] { doc.undo(); });
    EXPECT_TRUE(undone.changes & CodeChanged);
    std::string replayed = pressed;
    for (const TextEdit& edit : undone.edits)
        applyEdit(replayed, edit);
    EXPECT_EQ(replayed, drawn);
    EXPECT_EQ(undone.sprites, std::vector<int>{0});

    const Reported redone = after([&] { doc.redo(); });
    replayed = drawn;
    for (const TextEdit& edit : redone.edits)
        applyEdit(replayed, edit);
    EXPECT_EQ(replayed, pressed);
}

TEST_F(Changes_, OpenAndNewReplaceTheTextWhole)
{
    draw("A", 1, 0);
    const Reported opened = after([&] { ASSERT_FALSE(doc.open(declarations("B", {1}, {2}), "b.h")); });
    EXPECT_TRUE(opened.codeReplaced);
    EXPECT_TRUE(opened.changes & (CodeChanged | ListChanged | TableChanged | FileChanged | NameChanged));
    const Reported fresh = after([&] { doc.newDocument(); });
    EXPECT_TRUE(fresh.codeReplaced);
    EXPECT_TRUE(fresh.changes & FileChanged);
}

TEST_F(Changes_, ARefusalIsReportedAndChangesNothingElse)
{
    for (int i = 0; i < kSpriteTableSize; ++i)
        draw("S" + std::to_string(i), 1, 0);
    doc.typeName("one too many");
    const Reported r = after([&] { doc.press(3, MouseButton::Left); });
    EXPECT_TRUE(r.changes & Refused);
    EXPECT_FALSE(r.changes & (CodeChanged | ListChanged | TableChanged));
    EXPECT_EQ(doc.lastRefusal().reason, Refusal::Reason::TableFull);
    EXPECT_EQ(doc.lastRefusal().name, "one too many");
}

// Actions that change nothing a file keeps: no step, no unsaved change, no
// report of code, table, list, modified or history. The sheet holds A (two
// black cells at the ends of its top row, so a horizontal flip keeps it)
// and W (all white), is saved, and shows `current`.
TEST_F(Changes_, ActionsThatChangeNothingPushNoStepAndLeaveTheSheetSaved)
{
    const struct {
        const char* what;
        const char* current;
        std::function<void(Document&)> action;
    } cases[] = {
        {"a press of the colour the cell has", "A",
         [](Document& d) {
             d.selectColour(3);
             d.press(0, MouseButton::Left);
         }},
        {"a middle press of white on white", "A", [](Document& d) { d.press(9, MouseButton::Middle); }},
        {"a right press with nothing to write", "A", [](Document& d) { d.press(9, MouseButton::Right); }},
        {"a pen drag over cells of its colour", "A",
         [](Document& d) {
             d.selectColour(3);
             d.choosePen();
             d.press(0, MouseButton::Left);
             d.dragOver(7);
             d.release();
         }},
        {"a brush run of white over white", "W",
         [](Document& d) {
             d.chooseBrush();
             d.moveOver(3);
             d.leaveGrid();
         }},
        {"Clear Tile on an all-white sprite", "W", [](Document& d) { d.clearTile(); }},
        {"a flip that yields the same drawing", "A", [](Document& d) { d.flipHorizontally(); }},
        {"a paste of the drawing itself", "A",
         [](Document& d) { d.pasteDrawing(d.storedDrawing(d.currentIndex())); }},
        {"an import of the drawing itself", "A",
         [](Document& d) {
             d.importDrawings({Tile{"A", d.storedDrawing(d.currentIndex())}});
         }},
        {"a save with nothing pending", "A", [](Document& d) { d.textToSave(); }},
    };
    for (const auto& c : cases) {
        Document d;
        d.typeName("A");
        d.selectColour(3);
        d.press(0, MouseButton::Left);
        d.press(7, MouseButton::Left);
        d.typeName("W");
        d.selectColour(0);
        d.press(5, MouseButton::Left);
        d.typeName(c.current); // the grid shows every cell painted
        d.markSaved("sheet.h");
        const std::string code = d.code();
        const std::size_t depth = d.undoDepth();
        Changes told = 0;
        const Subscription subscription =
            d.subscribe([&](const DocumentChange& change) { told |= change.changes; });
        c.action(d);
        EXPECT_FALSE(d.modified()) << c.what;
        EXPECT_EQ(d.undoDepth(), depth) << c.what;
        EXPECT_EQ(d.code(), code) << c.what;
        EXPECT_EQ(told & (CodeChanged | TableChanged | ListChanged | ModifiedChanged | HistoryChanged), 0u)
            << c.what;
    }
}

// A right press that registers the current name changes the text: a step as
// any other, and a pen press that changed nothing still starts a drag that
// is one step when it paints.
TEST_F(Changes_, ARegisteringRightPressAndADragAfterAnIdlePressAreSteps)
{
    doc.press(9, MouseButton::Right);
    EXPECT_EQ(doc.undoKind(), StepKind::UpdateCode);
    EXPECT_TRUE(doc.modified());
    doc.choosePen();
    doc.press(0, MouseButton::Left); // white on an unpainted cell: no byte changes
    doc.dragOver(1);
    doc.release();
    EXPECT_EQ(doc.undoDepth(), 1u);
    doc.selectColour(3);
    doc.press(0, MouseButton::Left);
    doc.release();
    doc.markSaved("sheet.h");
    const std::string saved = doc.code();
    doc.press(0, MouseButton::Left); // black on black
    EXPECT_EQ(doc.undoDepth(), 2u);
    EXPECT_FALSE(doc.modified());
    doc.dragOver(2);
    doc.release();
    EXPECT_EQ(doc.undoDepth(), 3u) << "the drag is the step";
    EXPECT_TRUE(doc.modified());
    doc.undo();
    EXPECT_EQ(doc.code(), saved);
    EXPECT_EQ(doc.grid()[2], Cell::Unpainted);
    EXPECT_FALSE(doc.modified());
}

// A subscription is the observer's: it is told until the handle goes, also
// when another observer drops it while being told, and the handle may
// outlive the document.
TEST(Subscriptions, EndWithTheirHandles)
{
    auto d = std::make_unique<Document>();
    int first = 0, second = 0;
    Subscription a = d->subscribe([&](const DocumentChange&) { ++first; });
    Subscription b;
    b = d->subscribe([&](const DocumentChange&) {
        ++second;
        a.reset(); // told after this one: no longer
    });
    Subscription c = d->subscribe([&](const DocumentChange&) { ++first; });
    std::swap(a, c); // `a` is now the last one subscribed
    d->selectColour(1);
    EXPECT_EQ(std::pair(first, second), std::pair(1, 1)) << "the first told, the last dropped in time";
    {
        const Subscription gone = std::move(b);
    }
    d->selectColour(2);
    EXPECT_EQ(std::pair(first, second), std::pair(2, 1));
    d.reset();
    c.reset(); // the document went first: nothing to do
    EXPECT_FALSE(c.active());
}

// The oldest steps go beyond the history's limit: the last 10,000 can be
// undone, and the document then shows the state after the first steps.
TEST(History, KeepsTheLastTenThousandSteps)
{
    Document d;
    constexpr int kExtra = 25;
    constexpr int kPresses = int(History::kLimit) + kExtra;
    std::string afterExtra;
    for (int i = 0; i < kPresses; ++i) {
        d.selectColour(1 + i % 3);
        d.press(i % 64, MouseButton::Left);
        if (i == kExtra - 1)
            afterExtra = d.code();
    }
    int undone = 0;
    while (d.canUndo()) {
        d.undo();
        ++undone;
    }
    EXPECT_EQ(undone, int(History::kLimit));
    EXPECT_EQ(d.code(), afterExtra) << "back to the state after the steps that were dropped";
    EXPECT_TRUE(d.modified()) << "the saved, empty state can no longer be reached";
    int redone = 0;
    while (d.canRedo()) {
        d.redo();
        ++redone;
    }
    EXPECT_EQ(redone, int(History::kLimit));
}

} // namespace
} // namespace bitloom
