// The document: what it saves opens to the same sheet, opening takes a file
// as it is and refuses what is not a code text, and every step undoes and
// redoes exactly.
#include "codegen/reader.h"
#include "declarations.h"
#include "document/document.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <ostream>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace bitloom {
namespace {

using test::declarations;

// Names of every kind the name box lets through: empty, blank, prefixes and
// case variants of one another, declaration words, braces, non-ASCII, long.
const std::vector<std::string> kNames = {
    "Sprite",
    "",
    "A",
    "a",
    "AB",
    "BA",
    "A ",
    " A",
    "A\tB",
    "Alight",
    "Adark[]={",
    "Alight[]={x",
    "light[]={",
    "}",
    "x};",
    "/* */",
    "\xC4\x9E\xC3\xB6\xC3\xA7",
    "\xF0\x9F\x98\x80 e\xCC\x81",
    std::string(300, 'L'),
    std::string(5000, 'W'),
};

// What an undoable step puts back, compared whole.
struct Snapshot {
    Grid grid;
    std::string name;
    std::vector<std::string> names;
    std::vector<std::pair<std::string, Shades>> table;
    std::string code;

    explicit Snapshot(const Document& d) : grid(d.grid()), name(d.name()), names(d.names()), code(d.code())
    {
        for (const SpriteEntry& entry : d.table())
            table.emplace_back(entry.name, entry.shades);
    }
    bool operator==(const Snapshot&) const = default;
    // What a file keeps differs: the text, the list or the table. Only such
    // a change is a step; the grid alone is not.
    bool sheetDiffers(const Snapshot& other) const
    {
        return code != other.code || names != other.names || table != other.table;
    }
};

void draw(Document& d, const std::string& name, int colour, std::initializer_list<int> cells)
{
    d.typeName(name);
    d.selectColour(colour);
    for (const int cell : cells)
        d.press(cell, MouseButton::Left);
}

// A random user of the document. Each action says how the undo history
// may grow: whether it closed a brush run (a step done before the action)
// and whether it is an action that is a step of its own; each is a step
// exactly when it changed the sheet.
class RandomUser {
public:
    // With `leaveFirst`, an open brush run is ended by the pointer leaving
    // the grid just before the action that would end it, so that the state
    // between the two can be seen; otherwise the action ends it.
    RandomUser(Document& d, unsigned seed, int freshPercent, bool leaveFirst = false)
        : mDocument(d), mRng(seed), mFresh(freshPercent), mLeaveFirst(leaveFirst)
    {
    }

    struct Effect {
        bool closedRun = false;
        std::optional<Snapshot> afterRun; // with leaveFirst, the state the run ended in
        bool step = false;
        bool saved = false;
    };

    bool runOpen() const { return mRunOpen; }
    // The test closed the run itself.
    void runClosed() { mRunOpen = false; }

    Effect act()
    {
        Document& d = mDocument;
        Effect effect;
        const int op = pick(100);
        // Every action but a pointer move ends an open brush run.
        const auto endRun = [&] {
            effect.closedRun = std::exchange(mRunOpen, false);
            if (effect.closedRun && mLeaveFirst) {
                d.leaveGrid();
                effect.afterRun.emplace(d);
            }
        };
        if (op < 12) {
            endRun();
            d.typeName(pick(100) < mFresh ? "N" + std::to_string(mFreshCount++)
                                          : kNames[pick(kNames.size())]);
        } else if (op < 17 && !d.names().empty()) {
            endRun();
            d.chooseName(pick(d.names().size()));
        } else if (op < 25) {
            endRun();
            d.selectColour(pick(4));
        } else if (op < 45) {
            endRun();
            effect.step = true;
            d.press(pick(64), op < 41 ? MouseButton::Left : MouseButton::Middle);
        } else if (op < 49) {
            endRun();
            effect.step = true;
            d.press(pick(64), MouseButton::Right);
        } else if (op < 55) {
            endRun();
            pick(2) ? d.chooseBrush() : d.choosePen();
        } else if (op < 58) {
            // A pen press and its drag, one step.
            endRun();
            effect.step = true;
            d.press(pick(64), MouseButton::Left);
            for (int n = pick(4); n > 0; --n)
                d.dragOver(pick(64));
            d.release();
        } else if (op < 62) {
            endRun();
            effect.step = true;
            switch (pick(7)) {
            case 0: d.flipHorizontally(); break;
            case 1: d.flipVertically(); break;
            case 2: d.rotateClockwise(); break;
            case 3: d.rotateAnticlockwise(); break;
            case 4: d.shiftDrawing(pick(3) - 1, pick(3) - 1); break;
            case 5: d.invertShades(); break;
            default: d.duplicateSprite(); break;
            }
        } else if (op < 65) {
            // A paste of the drawing the sprite has, or of a random one.
            endRun();
            effect.step = true;
            const int index = d.currentIndex();
            Shades shades{};
            if (index >= 0 && pick(2))
                shades = d.storedDrawing(index);
            else
                for (Cell& shade : shades)
                    shade = pick(2) ? Cell::Black : Cell::White;
            d.pasteDrawing(shades);
        } else if (op < 80) {
            // Only a move that changes a cell opens a run.
            const auto cell = static_cast<std::size_t>(pick(64));
            const Cell paint = d.colour();
            mRunOpen = mRunOpen || (d.tool() == Tool::Brush && d.grid()[cell] != paint);
            d.moveOver(static_cast<int>(cell));
        } else if (op < 85) {
            endRun();
            effect.step = true;
            d.clearTile();
        } else if (op < 93) {
            endRun();
            // Blanks before a typed name are not part of the sprite's name.
            const std::string name =
                d.name().substr(std::min(d.name().find_first_not_of(" \t"), d.name().size()));
            effect.step = std::find(d.names().begin(), d.names().end(), name) != d.names().end();
            d.removeTile();
        } else {
            endRun();
            effect.step = d.brushPending();
            effect.saved = true;
            d.textToSave();
            d.markSaved("sheet.h");
        }
        return effect;
    }

    int pick(std::size_t n) { return static_cast<int>(mRng() % n); }
    int pick(int n) { return pick(static_cast<std::size_t>(n)); }

private:
    Document& mDocument;
    std::mt19937 mRng; // the same sequence on every machine
    int mFresh;
    bool mLeaveFirst;
    int mFreshCount = 0;
    bool mRunOpen = false;
};

// Saves `d` and opens the text in a fresh document: the same text, the
// same list, the same drawing under every name.
void expectRoundTrip(Document& d, bool removedAny, const std::string& where)
{
    const std::string saved = d.textToSave();
    Document opened;
    OpenReport report;
    ASSERT_EQ(opened.open(saved, "sheet.h", &report), std::nullopt) << where;
    EXPECT_TRUE(report.empty()) << where;
    EXPECT_EQ(opened.code(), saved) << where;
    ASSERT_EQ(opened.names(), d.names()) << where;
    EXPECT_FALSE(opened.modified());
    EXPECT_FALSE(opened.canUndo());
    for (const std::string& name : d.names()) {
        // The empty name has no entry of its own: it shares the last free
        // one, which a removal moves.
        if (name.empty() && removedAny)
            continue;
        const auto was = findEntry(d.table(), name), is = findEntry(opened.table(), name);
        ASSERT_EQ(was.has_value(), is.has_value()) << where << " name " << name;
        if (was) {
            EXPECT_EQ(d.table()[static_cast<std::size_t>(*was)].shades,
                      opened.table()[static_cast<std::size_t>(*is)].shades)
                << where << " drawing of " << name;
        }
    }
}

struct Walk {
    unsigned seed;
    int actions;
    int freshPercent; // how often typing picks a name never used before
};

void PrintTo(const Walk& walk, std::ostream* os)
{
    *os << "seed " << walk.seed << ", " << walk.actions << " actions";
}

class Sessions : public ::testing::TestWithParam<Walk> {};

TEST_P(Sessions, SavedTextOpensToTheSameSheet)
{
    const Walk run = GetParam();
    Document d;
    RandomUser user(d, run.seed, run.freshPercent);
    bool removedAny = false, refused = false;
    const Subscription subscription =
        d.subscribe([&](const DocumentChange& change) { refused = refused || (change.changes & Refused); });
    for (int i = 1; i <= run.actions; ++i) {
        const std::size_t listed = d.names().size();
        user.act();
        removedAny = removedAny || d.names().size() < listed;
        if (i % 100 == 0)
            expectRoundTrip(d, removedAny,
                            "seed " + std::to_string(run.seed) + " action " + std::to_string(i));
        if (HasFatalFailure())
            return;
    }
    if (run.freshPercent > 50) {
        EXPECT_TRUE(refused) << "the session should have filled the table";
        EXPECT_TRUE(removedAny);
    }
}

// After any actions and k undos the document is as it was k steps before;
// k redos bring it back. Only an action that changed the text, the list or
// the table pushed a step. The file is saved now and then: the document is
// modified exactly when its history stands elsewhere than at the save.
TEST_P(Sessions, UndoAndRedoRetraceEveryStep)
{
    const Walk run = GetParam();
    Document d;
    RandomUser user(d, run.seed, run.freshPercent, true);
    std::vector<Snapshot> before, after; // around each step in the history
    std::size_t done = 0;                // steps not undone
    std::optional<Snapshot> runStart;
    std::optional<std::size_t> savedAt = 0; // none: out of reach
    const auto push = [&](const Snapshot& was, const Snapshot& is) {
        // A new step drops what was undone, and a save among it.
        before.erase(before.begin() + static_cast<std::ptrdiff_t>(done), before.end());
        after.erase(after.begin() + static_cast<std::ptrdiff_t>(done), after.end());
        if (savedAt && *savedAt > done)
            savedAt.reset();
        before.push_back(was);
        after.push_back(is);
        ++done;
    };
    const auto matches = [&](const Snapshot& expected) {
        return Snapshot(d) == expected && d.modified() == (done != savedAt);
    };

    for (int round = 0; round < run.actions / 50; ++round) {
        const std::string where = "seed " + std::to_string(run.seed) + " round " + std::to_string(round);
        for (int i = 0; i < 50; ++i) {
            const Snapshot now(d);
            const bool wasOpen = user.runOpen();
            const RandomUser::Effect effect = user.act();
            if (effect.closedRun && runStart->sheetDiffers(*effect.afterRun))
                push(*runStart, *effect.afterRun);
            const Snapshot& from = effect.afterRun ? *effect.afterRun : now;
            if (effect.step && from.sheetDiffers(Snapshot(d)))
                push(from, Snapshot(d));
            if (effect.saved)
                savedAt = done;
            if (!wasOpen && user.runOpen())
                runStart = now;
            // Brushed cells are unsaved changes from the first one on. An
            // action that changed nothing the file keeps pushed no step.
            ASSERT_EQ(d.modified(), user.runOpen() || done != savedAt) << where << " action " << i;
            ASSERT_EQ(d.undoDepth(), done) << where << " action " << i;
        }
        if (user.runOpen()) {
            d.leaveGrid(); // closes the run, changes nothing else
            if (runStart->sheetDiffers(Snapshot(d)))
                push(*runStart, Snapshot(d));
            user.runClosed();
        }
        ASSERT_EQ(d.undoDepth(), done) << where;
        const std::size_t k = static_cast<std::size_t>(user.pick(std::min<std::size_t>(done, 30) + 1));
        for (std::size_t j = 1; j <= k; ++j) {
            d.undo();
            --done;
            ASSERT_TRUE(matches(before[done])) << where << " undo " << j;
        }
        const std::size_t back = static_cast<std::size_t>(user.pick(k + 1));
        for (std::size_t j = 1; j <= back; ++j) {
            d.redo();
            ++done;
            ASSERT_TRUE(matches(after[done - 1])) << where << " redo " << j;
        }
        EXPECT_EQ(d.canRedo(), done < before.size()) << where;
    }
}

// The history reaches back over a thousand steps, to the fresh start.
TEST(History, UndoesMoreThanAThousandSteps)
{
    Document d;
    const Snapshot fresh(d);
    for (int i = 0; i < 1100; ++i) {
        d.selectColour(i % 4);
        d.press(i % 64, MouseButton::Left);
    }
    for (int i = 0; i < 1100; ++i)
        d.undo();
    EXPECT_FALSE(d.canUndo());
    EXPECT_TRUE(Snapshot(d) == fresh);
    EXPECT_FALSE(d.modified());
}

// Remove Tile takes out both lines with their line feeds, the list item and
// the entry; the name stays; it is one step; a full table takes a new name
// again afterwards.
TEST(RemoveTile, TakesTheSpriteOutAsOneStep)
{
    Document d;
    draw(d, "A", 1, {7});
    draw(d, "B", 2, {0});
    draw(d, "C", 3, {63});
    d.typeName("B");
    const Snapshot was(d);
    d.removeTile();
    const Snapshot removed(d);
    EXPECT_EQ(d.code(), declarations("A", {0x80, 0, 0, 0, 0, 0, 0, 0}, {})
                            + declarations("C", {0, 0, 0, 0, 0, 0, 0, 0x80}, {0, 0, 0, 0, 0, 0, 0, 0x80}));
    EXPECT_EQ(d.names(), (std::vector<std::string>{"A", "C"}));
    EXPECT_EQ(d.table()[1].name, "");
    EXPECT_EQ(d.table()[1].shades, Shades{});
    EXPECT_EQ(d.name(), "B");
    EXPECT_TRUE(std::all_of(d.grid().begin(), d.grid().end(), [](Cell c) { return c == Cell::White; }));
    EXPECT_EQ(d.undoKind(), StepKind::RemoveTile);
    d.undo();
    EXPECT_TRUE(Snapshot(d) == was);
    d.redo();
    EXPECT_TRUE(Snapshot(d) == removed);

    // A name without a sprite: nothing at all.
    d.typeName("Nobody");
    const Snapshot nobody(d);
    d.removeTile();
    EXPECT_TRUE(Snapshot(d) == nobody);
    EXPECT_EQ(d.undoKind(), StepKind::RemoveTile);

    // A full table refuses a new name until a sprite is removed.
    for (int i = 0; static_cast<int>(d.names().size()) < kSpriteTableSize; ++i)
        draw(d, "S" + std::to_string(i), 1, {i % 64});
    draw(d, "Extra", 1, {5});
    EXPECT_EQ(d.lastRefusal().reason, Refusal::Reason::TableFull);
    EXPECT_EQ(d.names().size(), static_cast<std::size_t>(kSpriteTableSize));
    d.typeName("S50");
    d.removeTile();
    const auto freed = findEntry(d.table(), "");
    draw(d, "Extra", 1, {5});
    EXPECT_EQ(d.names().back(), "Extra");
    EXPECT_EQ(findEntry(d.table(), "Extra"), freed);
    EXPECT_EQ(d.table()[static_cast<std::size_t>(*freed)].shades[5], Cell::Grey);
}

// Marked unsaved (the file was deleted, or the work recovered): modified
// whatever Undo and Redo do, until a save, New or Open; observers are told.
TEST(Files, MarkedUnsavedStaysUnsavedUntilSaved)
{
    Document d;
    Changes told = 0;
    const Subscription subscription =
        d.subscribe([&](const DocumentChange& change) { told |= change.changes; });
    draw(d, "A", 3, {0});
    d.markSaved("a.h");
    told = 0;
    d.markUnsaved();
    EXPECT_TRUE(d.modified());
    EXPECT_TRUE(told & ModifiedChanged);
    d.press(1, MouseButton::Left);
    d.undo();
    EXPECT_TRUE(d.modified());
    d.markSaved("a.h");
    EXPECT_FALSE(d.modified());

    d.markUnsaved();
    ASSERT_FALSE(d.open(d.code(), "a.h"));
    EXPECT_FALSE(d.modified());
    d.markUnsaved();
    d.newDocument();
    EXPECT_FALSE(d.modified());
}

// A file's own lines, CRLF line ends and a byte-order mark stay byte for
// byte; a declaration on the first line counts, and so does an indented
// one, but one that does not begin its line does not. A missing dark
// declaration goes right after its light one, shaped like the last
// declaration, with the file's line end.
TEST(Open, KeepsTheFileAsItIs)
{
    const std::string bom = "\xEF\xBB\xBF";
    const auto file = [&](const std::string& aLight, const std::string& aDark, const std::string& bDark) {
        return bom + "static unsigned char Alight[]={" + aLight + "};\r\n"
               + "#include <stdint.h>\r\n"
                 "/* Clight[]={ */ static unsigned char Clight[]={0,0,0,0,0,0,0,0};\r\n"
                 "static unsigned char Adark[]={"
               + aDark
               + "};\r\n"
                 "  static unsigned char Blight[]={0x01,0x00,0x00,0x00,0x00,0x00,0x00,0x00};\r\n"
               + bDark + "int main(void) { return 0; }\r\n";
    };
    const std::string original =
        file("0x80,0x00,0x00,0x00,0x00,0x00,0x00,0x01", "0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x01", "");
    Document d;
    OpenReport report;
    ASSERT_EQ(d.open(original, "/tmp/sheet.h", &report), std::nullopt);
    EXPECT_TRUE(report.empty());
    EXPECT_EQ(d.code(), original);
    EXPECT_EQ(d.names(), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(d.name(), "A");
    EXPECT_EQ(d.grid()[7], Cell::Grey);
    EXPECT_EQ(d.grid()[56], Cell::Black);
    EXPECT_EQ(d.grid()[0], Cell::White);
    EXPECT_FALSE(d.modified());

    d.selectColour(3);
    d.press(0, MouseButton::Left);
    draw(d, "B", 2, {1});
    const std::string edited =
        file("0x81,0x00,0x00,0x00,0x00,0x00,0x00,0x01", "0x01,0x00,0x00,0x00,0x00,0x00,0x00,0x01",
             "  static unsigned char Bdark[]={0x02,0x00,0x00,0x00,0x00,0x00,0x00,0x00};\r\n");
    EXPECT_EQ(d.textToSave(), edited);
    EXPECT_TRUE(d.modified());

    // Removing the first line's sprite keeps the byte-order mark whole.
    d.typeName("A");
    d.removeTile();
    std::string removed = edited;
    removed.erase(bom.size(), removed.find("#include") - bom.size());
    removed.erase(removed.find("static unsigned char Adark"),
                  removed.find("  static") - removed.find("static unsigned char Adark"));
    EXPECT_EQ(d.code(), removed);
}

// What is not a code text is refused with a reason, and the document stays
// exactly as it was.
TEST(Open, RefusesWhatIsNotACodeText)
{
    const std::string refused[] = {
        "\xC0\xAF",                                  // overlong "/"
        "ok\xED\xA0\x80",                            // a surrogate
        "\xF4\x90\x80\x80",                          // beyond U+10FFFF
        "static unsigned char Alight[]={};\xE2\x82", // cut short
        "\x80",                                      // a lone continuation byte
        "\xFF\xFE"
        "A", // UTF-16 byte-order mark
        std::string("A\0B", 3),
        std::string(kMaxCodeTextBytes + 1, '\n'),
    };
    Document d;
    draw(d, "A", 1, {7});
    d.markSaved("/tmp/a.h");
    d.press(8, MouseButton::Left);
    const Snapshot was(d);
    for (const std::string& bytes : refused) {
        OpenReport report;
        report.notRegistered = {"untouched"};
        const auto reason = d.open(bytes, "/tmp/bad.h", &report);
        ASSERT_TRUE(reason.has_value()) << bytes.substr(0, 40);
        EXPECT_TRUE(Snapshot(d) == was) << bytes.substr(0, 40);
        EXPECT_EQ(d.filePath(), "/tmp/a.h");
        EXPECT_TRUE(d.modified());
        EXPECT_EQ(d.undoKind(), StepKind::Paint);
        EXPECT_EQ(report.notRegistered, std::vector<std::string>{"untouched"});
    }
    // Valid text up to the limit opens.
    EXPECT_EQ(d.open(std::string(kMaxCodeTextBytes, '\n'), "/tmp/big.h"), std::nullopt);
    EXPECT_EQ(d.open("\xF0\x9F\x98\x80\xEF\xBF\xBF\xC2\x80", "/tmp/u.h"), std::nullopt);
}

// Unreadable declarations are reported by line and register nothing: a
// sprite whose light declaration cannot be read is left out, and one whose
// dark declaration cannot be read has no dark bits. Of a declaration that
// appears twice the first counts, for reading as for drawing.
TEST(Open, ReadsWhatItCanAndReportsTheRest)
{
    const std::string text =
        "static unsigned char Alight[]={0x01,0xZZ,0x03,0x04,0x05,0x06,0x07,0x08};\n"  // 1: not a number
        "static unsigned char Adark[]={0x01,0x01};\n"                                 // 2: two numbers only
        "static unsigned char Blight[]={0x10,0x00,0x00,0x00,0x00,0x00,0x00,0x00};\n"  // 3: no dark twin
        "static unsigned char Alight[]={0xFF,0xFF,0xFF,0xFF,0xFF,0xFF,0xFF,0xFF};\n"  // 4: A again
        "static unsigned char Clight[]={0x1, 0X0a ,0x00,0x00,0x00,0x00,0x00,0x00};\n" // 5: readable
        "static unsigned char Cdark[]={0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x100};\n"  // 6: over 255
        "static unsigned char Dlight[]={0x01,0x02,0x03,0x04,0x05,0x06,0x07,0x08\n"    // 7: no closing brace
        "static unsigned char Ddark[]={0x01,0x02,0x03,0x04,0x05,0x06,0x07,0x08};";    // 8
    Document d;
    OpenReport report;
    ASSERT_EQ(d.open(text, "odd.h", &report), std::nullopt);
    EXPECT_EQ(d.code(), text);
    EXPECT_EQ(report.unreadableLines, (std::vector<int>{1, 2, 6, 7}));
    EXPECT_TRUE(report.notRegistered.empty());
    ASSERT_EQ(d.names(), (std::vector<std::string>{"B", "C"}));

    // Cell 8r + m is bit m of row r.
    const auto drawing = [&](const std::string& name) {
        return d.table()[static_cast<std::size_t>(findEntry(d.table(), name).value())].shades;
    };
    Shades b{}, c{};
    b[4] = Cell::Grey;
    c[0] = c[9] = c[11] = Cell::Grey;
    EXPECT_EQ(drawing("B"), b);
    EXPECT_EQ(drawing("C"), c);

    // A press on A is refused and changes nothing; drawing B rewrites its
    // light numbers and adds its dark declaration right after it.
    d.typeName("A");
    d.press(63, MouseButton::Left);
    EXPECT_EQ(d.code(), text);
    EXPECT_EQ(d.lastRefusal().reason, Refusal::Reason::MalformedDeclaration);
    EXPECT_EQ(d.names(), (std::vector<std::string>{"B", "C"}));
    d.chooseName(0);
    d.selectColour(2);
    d.press(63, MouseButton::Left);
    std::string expected = text;
    const std::size_t third = expected.find("static unsigned char Blight");
    expected.replace(third, expected.find('\n', third) - third,
                     "static unsigned char Blight[]={0x10,0x00,0x00,0x00,0x00,0x00,0x00,0x00};\n"
                     "static unsigned char Bdark[]={0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x80};");
    EXPECT_EQ(d.code(), expected);
}

// A file as large as may be opened, all declarations: the first 101 names are
// registered, the others reported and their lines kept; drawing goes on.
TEST(Open, FourMebibytesOfDeclarations)
{
    std::string text;
    int count = 0;
    std::vector<std::string> beyond;
    for (; text.size() + 200 < kMaxCodeTextBytes; ++count) {
        const std::string name = "sprite" + std::to_string(count);
        text += declarations(name, {count & 0xFF}, {0, count & 0xFF});
        if (count >= kSpriteTableSize)
            beyond.push_back(name);
    }
    text.append(kMaxCodeTextBytes - text.size(), '\n');

    Document d;
    OpenReport report;
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(d.open(text, "big.h", &report), std::nullopt);
    d.chooseName(100);
    d.selectColour(3);
    d.press(0, MouseButton::Left);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(took, std::chrono::seconds(10)) << "far too slow";
    EXPECT_EQ(d.names().size(), static_cast<std::size_t>(kSpriteTableSize));
    EXPECT_EQ(report.notRegistered, beyond);
    EXPECT_TRUE(report.unreadableLines.empty());
    EXPECT_EQ(d.table()[100].shades[0], Cell::Black);
    EXPECT_EQ(d.table()[100].shades[2], Cell::Grey); // 100 = 0x64: bits 2, 5, 6
    std::string expected = text;
    const std::string old = declarations("sprite100", {100}, {0, 100});
    expected.replace(expected.find(old), old.size(), declarations("sprite100", {101}, {1, 100}));
    EXPECT_EQ(d.textToSave(), expected);
}

INSTANTIATE_TEST_SUITE_P(Seeds, Sessions,
                         ::testing::Values(Walk{1, 500, 10}, Walk{2, 500, 30}, Walk{3, 500, 0},
                                           Walk{4, 4000, 95}),
                         [](const auto& info) { return "Seed" + std::to_string(info.param.seed); });

} // namespace
} // namespace bitloom
