// The main window's frame: the Window menu and the keys that step through
// the child windows, Tab from the code window, the status bar, Escape on the
// tool pop-up, and the name hint after every kind of name change.
#include "uitest.h"

#include "codegen/identifier.h"
#include "ui/frame/screenfit.h"
#include "ui/frame/windowmenu.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QStatusBar>

namespace bitloom::test {
namespace {

class Windows : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    static void key(int k, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(k), modifiers);
    }
    QMdiSubWindow* active() const { return window->mdiArea()->activeSubWindow(); }
    // The window items of the Window menu that are checked, by object name.
    QStringList checkedWindows() const
    {
        QStringList checked;
        for (const char* name : {"editorWindowAction", "codeWindowAction", "sheetWindowAction"}) {
            if (action(name).isChecked())
                checked << QString::fromLatin1(name);
        }
        return checked;
    }
    QString status(const char* field) const
    {
        auto* label = window->statusBar()->findChild<QLabel*>(QString::fromLatin1(field));
        return label ? label->text() : QStringLiteral("(no field)");
    }
    bool hintMatchesName() const
    {
        const bool wrong = checkIdentifier(editor().document().name()).problem != IdentifierProblem::None;
        return nameBox().hintShown() == wrong && nameBox().toolTip().isEmpty() == !wrong;
    }
};

// The arrangements on their own, as sizes in and places out: editor 380 x
// 350, code window 400 x 470 (needs 200 x 100), Sprites window 380 x 220
// (needs 200 x 100).
TEST(Arrangements, SideBySideOverlapsOnlyWhereTheAreaIsTooSmall)
{
    const ChildWindows three{{{{380, 350}, {380, 350}}, {{400, 470}, {200, 100}}, {{380, 220}, {200, 100}}}};
    const struct {
        QSize area;
        bool fill;
        ChildPlaces places; // editor, code, Sprites
    } cases[] = {
        // Room for all: the start arrangement, and Tile filling the area.
        {{800, 600}, false, {QRect(0, 0, 380, 350), QRect(380, 0, 400, 470), QRect(0, 350, 380, 220)}},
        {{900, 700}, true, {QRect(0, 0, 380, 350), QRect(380, 0, 520, 700), QRect(0, 350, 380, 350)}},
        // Too narrow: the code window overlaps the editor's right edge; too
        // low: it and the Sprites window shorten, down to what they need.
        {{640, 430}, false, {QRect(0, 0, 380, 350), QRect(240, 0, 400, 430), QRect(0, 330, 380, 100)}},
        {{640, 430}, true, {QRect(0, 0, 380, 350), QRect(240, 0, 400, 430), QRect(0, 330, 380, 100)}},
        // Far too small: never over more than half the editor; the rest scrolls.
        {{300, 200}, false, {QRect(0, 0, 380, 350), QRect(190, 0, 300, 200), QRect(0, 175, 380, 100)}},
    };
    for (const auto& [area, fill, places] : cases) {
        SCOPED_TRACE(testing::Message()
                     << area.width() << 'x' << area.height() << (fill ? " tile" : " start"));
        const ChildPlaces got = sideBySide(area, three, fill);
        for (std::size_t i = 0; i < 3; ++i)
            EXPECT_EQ(got[i], places[i]) << i;
    }

    // A hidden window takes no place; Tile gives the others its room.
    ChildWindows noCode = three;
    noCode[1].shown = false;
    const ChildPlaces got = sideBySide({900, 700}, noCode, true);
    EXPECT_TRUE(got[1].isEmpty());
    EXPECT_EQ(got[2], QRect(0, 350, 900, 350));
}

TEST(Arrangements, CascadeKeepsWhatEachWindowNeeds)
{
    const ChildWindows three{{{{380, 350}, {380, 350}}, {{400, 470}, {200, 100}}, {{380, 220}, {200, 100}}}};
    const ChildPlaces roomy = cascaded({900, 700}, three, 30);
    EXPECT_EQ(roomy[0], QRect(0, 0, 380, 350));
    EXPECT_EQ(roomy[1], QRect(30, 30, 400, 470));
    EXPECT_EQ(roomy[2], QRect(60, 60, 380, 220));
    // Small: each moves back into the area and shrinks no further than it
    // needs to, overlapping the others.
    const ChildPlaces small = cascaded({420, 300}, three, 30);
    EXPECT_EQ(small[0], QRect(0, 0, 380, 350));
    EXPECT_EQ(small[1], QRect(20, 0, 400, 300));
    EXPECT_EQ(small[2], QRect(40, 60, 380, 220));
}

TEST_F(Windows, TileAndCascadeKeepEveryWindowWhole)
{
    QMdiSubWindow* const subs[] = {window->editorWindow(), window->codeSubWindow(), window->sheetWindow()};
    QSize start[3];
    for (int i = 0; i < 3; ++i)
        start[i] = subs[i]->size();
    for (const char* arrangement : {"tileWindowsAction", "cascadeWindowsAction"}) {
        SCOPED_TRACE(arrangement);
        action(arrangement).trigger();
        QCoreApplication::processEvents();
        for (int i = 0; i < 3; ++i) {
            EXPECT_TRUE(subs[i]->isVisible());
            EXPECT_GE(subs[i]->width(), start[i].width()) << i;
            EXPECT_GE(subs[i]->height(), std::min(start[i].height(), window->mdiArea()->viewport()->height()))
                << i;
        }
        EXPECT_EQ(subs[0]->size(), start[0]) << "the editor keeps its size";
    }
    // A hidden window stays hidden.
    subs[2]->close();
    action("tileWindowsAction").trigger();
    EXPECT_FALSE(subs[2]->isVisible());
}

TEST_F(Windows, CtrlTabStepsThroughAllThreeWindowsAndTheMenuChecksTheActiveOne)
{
    QMdiSubWindow* const order[] = {window->editorWindow(), window->codeSubWindow(), window->sheetWindow()};
    const char* const items[] = {"editorWindowAction", "codeWindowAction", "sheetWindowAction"};
    ASSERT_EQ(active(), order[0]);
    EXPECT_EQ(checkedWindows(), QStringList{QString::fromLatin1(items[0])});

    // Twice round, whichever control of a window has the keyboard.
    for (int step = 1; step <= 6; ++step) {
        key(Qt::Key_Tab, Qt::ControlModifier);
        EXPECT_EQ(active(), order[step % 3]) << "step " << step;
        EXPECT_EQ(checkedWindows(), QStringList{QString::fromLatin1(items[step % 3])});
    }
    for (int step = 1; step <= 3; ++step) {
        key(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(active(), order[(3 - step) % 3]) << "back " << step;
    }
    // Shift+Tab as some platforms send it; the keyboard goes with the
    // window: into the editor lands the name box.
    EXPECT_EQ(active(), order[0]);
    key(Qt::Key_Tab, Qt::ControlModifier);
    key(Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(active(), order[0]);
    EXPECT_TRUE(nameBox().lineEdit()->hasFocus());

    // Choosing a window from the menu activates it; choosing it again keeps
    // it checked.
    action("sheetWindowAction").trigger();
    EXPECT_EQ(active(), order[2]);
    action("sheetWindowAction").trigger();
    EXPECT_EQ(checkedWindows(), QStringList{QStringLiteral("sheetWindowAction")});
}

TEST_F(Windows, TileAndCascadeKeepEveryWindowInTheWorkspace)
{
    const auto windows = window->mdiArea()->subWindowList();
    ASSERT_EQ(windows.size(), 3);
    const QSize editorSize = window->editorWindow()->size();

    // Cascaded: each window a step right of and below the one behind it.
    action("cascadeWindowsAction").trigger();
    QList<QPoint> corners;
    for (QMdiSubWindow* child : window->mdiArea()->subWindowList(QMdiArea::StackingOrder))
        corners << child->pos();
    std::sort(corners.begin(), corners.end(), [](QPoint a, QPoint b) { return a.x() < b.x(); });
    EXPECT_LT(corners[0].x(), corners[1].x());
    EXPECT_LT(corners[1].x(), corners[2].x());
    EXPECT_LT(corners[0].y(), corners[1].y());
    EXPECT_LT(corners[1].y(), corners[2].y());

    action("tileWindowsAction").trigger();
    const QRect shown = window->mdiArea()->viewport()->rect();
    for (QMdiSubWindow* child : windows) {
        EXPECT_TRUE(child->isVisible());
        EXPECT_TRUE(shown.contains(child->geometry().topLeft())) << child->windowTitle().toStdString();
    }
    EXPECT_EQ(window->editorWindow()->size(), editorSize) << "the editor keeps its fixed size";
}

TEST_F(Windows, TabLeadsFromTheCodeWindowToTheNameBoxAndTheGrid)
{
    window->mdiArea()->setActiveSubWindow(window->codeSubWindow());
    pane().setFocus();
    ASSERT_TRUE(pane().hasFocus());

    key(Qt::Key_Tab);
    EXPECT_TRUE(nameBox().lineEdit()->hasFocus());
    EXPECT_EQ(active(), window->editorWindow());
    key(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), editor().cell(editor().focusCell()));
    // Shift+Tab leads back into the editor at its last stop, the grid.
    window->mdiArea()->setActiveSubWindow(window->codeSubWindow());
    pane().setFocus();
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), editor().cell(editor().focusCell()));
    EXPECT_EQ(active(), window->editorWindow());
}

TEST_F(Windows, StatusBarTellsToolColourSpriteCountAndCell)
{
    EXPECT_EQ(status("toolStatus"), QStringLiteral("Tool: Pen"));
    EXPECT_EQ(status("colourStatus"), QStringLiteral("Colour: White"));
    EXPECT_EQ(status("spriteStatus"), QStringLiteral("Sprite: Sprite"));
    EXPECT_EQ(status("spriteCountStatus"), QStringLiteral("0 of 101 sprites"));
    EXPECT_EQ(status("cellStatus"), QString());

    // The keyboard's focus cell, while the pointer is off the grid: row from
    // the top, column from the left, both from 1.
    key(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), editor().cell(editor().focusCell()));
    EXPECT_EQ(status("cellStatus"), QStringLiteral("Row 1, column 1"));
    key(Qt::Key_Down);
    key(Qt::Key_Right);
    EXPECT_EQ(status("cellStatus"), QStringLiteral("Row 2, column 2"));
    key(Qt::Key_Tab);
    EXPECT_EQ(status("cellStatus"), QString());

    // The pointer.
    hover(*editor().cell(cellAt(2, 6)));
    EXPECT_EQ(status("cellStatus"), QStringLiteral("Row 3, column 7"));
    hover(*editor().cell(cellAt(7, 0)));
    EXPECT_EQ(status("cellStatus"), QStringLiteral("Row 8, column 1"));
    hover(nameBox());
    EXPECT_EQ(status("cellStatus"), QString());

    draw(QStringLiteral("coin"), 2, {5});
    draw(QStringLiteral("key"), 3, {6});
    EXPECT_EQ(status("colourStatus"), QStringLiteral("Colour: Black"));
    EXPECT_EQ(status("spriteStatus"), QStringLiteral("Sprite: key"));
    EXPECT_EQ(status("spriteCountStatus"), QStringLiteral("2 of 101 sprites"));
    chooseName(0);
    EXPECT_EQ(status("spriteStatus"), QStringLiteral("Sprite: coin"));
    chooseTool(brushButton());
    EXPECT_EQ(status("toolStatus"), QStringLiteral("Tool: Brush"));
    action("removeTileAction").trigger();
    EXPECT_EQ(status("spriteCountStatus"), QStringLiteral("1 of 101 sprites"));
}

TEST_F(Windows, EscapeClosesTheToolPopupChoosingNothing)
{
    // From the name box, where the keyboard stays after the right press.
    press(0, Qt::RightButton, {2, 2});
    ASSERT_TRUE(toolPopup().isVisible());
    key(Qt::Key_Escape);
    EXPECT_FALSE(toolPopup().isVisible());
    EXPECT_EQ(tool(), Tool::None);

    // From the grid, with a tool already chosen and a highlight shown.
    chooseTool(penButton());
    key(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), editor().cell(editor().focusCell()));
    press(9, Qt::RightButton, {2, 2});
    hover(brushButton());
    ASSERT_TRUE(editor().brushHighlighted());
    key(Qt::Key_Escape);
    EXPECT_FALSE(toolPopup().isVisible());
    EXPECT_EQ(tool(), Tool::Pen);
    EXPECT_FALSE(editor().brushHighlighted());
    // The grid keeps the keyboard and its keys.
    key(Qt::Key_3);
    EXPECT_EQ(editor().document().colour(), Cell::DarkGrey);
}

TEST_F(Windows, ToolPicturesAreThereAtBothDensities)
{
    for (const char* name : {"pencil", "brush"}) {
        const QString base = QStringLiteral(":/png/") + QString::fromLatin1(name);
        EXPECT_EQ(QPixmap(base + QStringLiteral(".png")).size(), QSize(32, 32)) << name;
        EXPECT_EQ(QPixmap(base + QStringLiteral("@2x.png")).size(), QSize(64, 64)) << name;
    }
}

TEST_F(Windows, NameHintFollowsEveryChangeOfTheName)
{
    draw(QStringLiteral("good"), 1, {0});
    draw(QStringLiteral("9lives"), 2, {1});
    ASSERT_TRUE(nameBox().hintShown());

    chooseName(0); // "good"
    EXPECT_EQ(nameBox().currentText(), QStringLiteral("good"));
    EXPECT_TRUE(hintMatchesName());
    chooseName(1); // "9lives"
    EXPECT_TRUE(hintMatchesName());

    typeName(QStringLiteral("bad name"));
    press(2);
    window->document().undo(); // the name goes back to the one before
    EXPECT_TRUE(hintMatchesName()) << editor().document().name();
    window->document().undo();
    EXPECT_TRUE(hintMatchesName()) << editor().document().name();

    typeName(QStringLiteral("also bad"));
    window->document().newDocument();
    EXPECT_EQ(nameBox().currentText(), QString::fromStdString(editor().document().name()));
    EXPECT_TRUE(hintMatchesName());
    EXPECT_FALSE(nameBox().hintShown());
}

} // namespace
} // namespace bitloom::test
