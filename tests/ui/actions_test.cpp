// The menus' actions as Qt users expect them: the platform's standard keys
// with the chords Bitloom always had, each action enabled only while it can
// act (and the grid's single keys with it), the drawing commands' chords
// from wherever the keyboard is, and the title and plurals through tr().
#include "uitest.h"

#include "ui/sheet/sheetwindow.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QWindow>

namespace bitloom::test {
namespace {

class Actions : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    QWidget& focusGrid()
    {
        QWidget* cell = editor().cell(editor().focusCell());
        cell->setFocus(Qt::TabFocusReason);
        return *cell;
    }
    // The names of the watched actions that are enabled, in table order.
    QString enabled() const
    {
        QStringList names;
        for (const char* name : kWatched) {
            if (action(name).isEnabled())
                names << QString::fromLatin1(name).remove(QStringLiteral("Action"));
        }
        return names.join(u' ');
    }
    std::optional<StepKind> lastStep() const { return window->document().undoKind(); }

    static constexpr const char* kWatched[] = {"undoAction",
                                               "redoAction",
                                               "saveAction",
                                               "clearTileAction",
                                               "pasteSpriteAction",
                                               "removeTileAction",
                                               "renameSpriteAction",
                                               "duplicateSpriteAction",
                                               "flipHorizontallyAction",
                                               "flipVerticallyAction",
                                               "rotateClockwiseAction",
                                               "rotateAnticlockwiseAction",
                                               "shiftUpAction",
                                               "shiftDownAction",
                                               "shiftLeftAction",
                                               "shiftRightAction",
                                               "invertShadesAction"};
};

const QString kAlways = QStringLiteral("save clearTile pasteSprite");
const QString kSpriteCommands =
    QStringLiteral("removeTile renameSprite duplicateSprite flipHorizontally flipVertically rotateClockwise "
                   "rotateAnticlockwise shiftUp shiftDown shiftLeft shiftRight invertShades");

// Standard commands take the platform's keys first, so the menu shows those,
// and keep every chord Bitloom had.
TEST_F(Actions, StandardKeysKeepTheOldChords)
{
    const struct {
        const char* action;
        QKeySequence::StandardKey standard;
        std::vector<QKeySequence> chords;
    } rows[] = {
        {"saveAsAction", QKeySequence::SaveAs, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)}},
        {"quitAction", QKeySequence::Quit, {QKeySequence(Qt::CTRL | Qt::Key_Q)}},
        {"undoAction", QKeySequence::Undo, {QKeySequence(Qt::CTRL | Qt::Key_Z)}},
        {"redoAction",
         QKeySequence::Redo,
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)}},
        {"copySpriteAction", QKeySequence::Copy, {QKeySequence(Qt::CTRL | Qt::Key_C)}},
        {"pasteSpriteAction", QKeySequence::Paste, {QKeySequence(Qt::CTRL | Qt::Key_V)}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.action);
        const QList<QKeySequence> keys = action(row.action).shortcuts();
        const QList<QKeySequence> standard = QKeySequence::keyBindings(row.standard);
        ASSERT_FALSE(keys.isEmpty());
        if (!standard.isEmpty()) {
            EXPECT_EQ(keys.first(), standard.first());
        }
        for (const QKeySequence& chord : row.chords)
            EXPECT_TRUE(keys.contains(chord)) << chord.toString().toStdString();
        EXPECT_EQ(QSet<QKeySequence>(keys.begin(), keys.end()).size(), keys.size()) << "a key twice";
    }
}

// Undo and Redo while there is a step; the sprite commands while the current
// name is a sprite of the text; Save, Clear Tile and Paste always.
TEST_F(Actions, EnabledOnlyWhenTheyCanAct)
{
    const struct {
        const char* state;
        std::function<void()> reach;
        QString expected;
    } rows[] = {
        {"a fresh sheet", [] {}, kAlways},
        {"a drawn sprite", [this] { draw(QStringLiteral("A"), 3, {0}); },
         QStringLiteral("undo ") + kAlways + u' ' + kSpriteCommands},
        {"its press undone", [this] { action("undoAction").trigger(); }, QStringLiteral("redo ") + kAlways},
        {"redone", [this] { action("redoAction").trigger(); },
         QStringLiteral("undo ") + kAlways + u' ' + kSpriteCommands},
        {"a new name typed", [this] { typeName(QStringLiteral("B")); }, QStringLiteral("undo ") + kAlways},
        {"the sprite chosen again", [this] { chooseName(0); },
         QStringLiteral("undo ") + kAlways + u' ' + kSpriteCommands},
        {"the sprite removed", [this] { action("removeTileAction").trigger(); },
         QStringLiteral("undo ") + kAlways},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.state);
        row.reach();
        EXPECT_EQ(enabled(), row.expected);
    }
}

// The grid's single keys do what their menu items do, and nothing while
// those are disabled.
TEST_F(Actions, GridKeysFollowTheirMenuItems)
{
    typeName(QStringLiteral("A"));
    pickColour(3);
    const std::string before = text();
    QWidget& grid = focusGrid();
    for (const Qt::Key key : {Qt::Key_H, Qt::Key_V, Qt::Key_R, Qt::Key_I})
        QTest::keyClick(&grid, key);
    QTest::keyClick(&grid, Qt::Key_R, Qt::ShiftModifier);
    QTest::keyClick(&grid, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(text(), before) << "A is no sprite yet";
    EXPECT_FALSE(action("undoAction").isEnabled());

    press(0);
    grid.setFocus();
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        StepKind step;
    } keys[] = {{Qt::Key_H, {}, StepKind::FlipHorizontally},
                {Qt::Key_V, {}, StepKind::FlipVertically},
                {Qt::Key_R, {}, StepKind::RotateClockwise},
                {Qt::Key_R, Qt::ShiftModifier, StepKind::RotateAnticlockwise},
                {Qt::Key_Down, Qt::ShiftModifier, StepKind::ShiftDown},
                {Qt::Key_Left, Qt::ShiftModifier, StepKind::ShiftLeft},
                {Qt::Key_I, {}, StepKind::InvertShades}};
    for (const auto& k : keys) {
        SCOPED_TRACE(QKeySequence(k.key | k.modifiers).toString().toStdString());
        QTest::keyClick(&grid, k.key, k.modifiers);
        EXPECT_EQ(lastStep(), k.step);
    }
}

// The drawing commands' chords act wherever the keyboard focus is: the
// name box, the grid, the code window and the Sprites window.
TEST_F(Actions, DrawingChordsWorkWhereverTheFocusIs)
{
    draw(QStringLiteral("A"), 3, {0});
    const struct {
        Qt::Key key;
        StepKind step;
    } chords[] = {{Qt::Key_H, StepKind::FlipHorizontally},
                  {Qt::Key_V, StepKind::FlipVertically},
                  {Qt::Key_R, StepKind::RotateClockwise},
                  {Qt::Key_L, StepKind::RotateAnticlockwise},
                  {Qt::Key_I, StepKind::InvertShades}};
    const struct {
        const char* name;
        QMdiSubWindow* sub;
        QWidget* widget;
    } places[] = {{"name box", window->editorWindow(), &nameBox()},
                  {"grid", window->editorWindow(), editor().cell(editor().focusCell())},
                  {"code window", window->codeSubWindow(), &pane()},
                  {"Sprites window", window->sheetWindow(), window->sheet()}};
    for (const auto& place : places) {
        SCOPED_TRACE(place.name);
        window->mdiArea()->setActiveSubWindow(place.sub);
        place.widget->setFocus();
        ASSERT_TRUE(place.widget->isAncestorOf(QApplication::focusWidget())
                    || place.widget == QApplication::focusWidget());
        for (const auto& chord : chords) {
            SCOPED_TRACE(QKeySequence(chord.key).toString().toStdString());
            QTest::keyClick(QApplication::focusWidget(), chord.key, Qt::ControlModifier | Qt::ShiftModifier);
            EXPECT_EQ(lastStep(), chord.step);
        }
        EXPECT_EQ(nameBox().currentText(), QStringLiteral("A"));
    }
}

// The title and the sentences with a count read as English.
TEST_F(Actions, TitleAndPluralsThroughTr)
{
    draw(QStringLiteral("A"), 1, {7});
    EXPECT_EQ(window->windowHandle()->title(), QStringLiteral("Untitled* - BITLOOM by VELDRA SOFTWARE"));
    for (const int n : {1, 2, 12}) {
        const QString text = FileSession::tr("Replace %n existing sprite(s) (%1)?", nullptr, n);
        EXPECT_EQ(text,
                  n == 1
                      ? QStringLiteral("Replace 1 existing sprite (%1)?")
                      : QStringLiteral("Replace %1 existing sprites (%2)?").arg(n).arg(QStringLiteral("%1")));
    }
}

} // namespace
} // namespace bitloom::test
