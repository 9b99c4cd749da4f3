// The main window's frame: the Window menu and the keys that step through
// the child windows, Tab from the code window, the status bar, Escape on the
// tool pop-up, and the name hint after every kind of name change.
#include "uitest.h"

#include "codegen/identifier.h"
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
