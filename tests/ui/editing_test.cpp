#include "uitest.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTest>
#include <QTimer>

namespace bitloom::test {
namespace {

using Editing = WindowTest;

TEST_F(Editing, PressesPaintAndRegenerateToTheCharacter)
{
    draw(QStringLiteral("A"), 1, {7});
    EXPECT_EQ(colour(7), Cell::Grey);
    EXPECT_EQ(text(), declarations("A", {0x80, 0, 0, 0, 0, 0, 0, 0}, kZero));
    pickColour(3);
    press(56, Qt::MiddleButton);
    draw(QStringLiteral("B"), 2, {24, 25, 26, 27, 28, 29, 30, 31});
    pickColour(3);
    press(0);
    const std::string b = declarations("B", {0x01, 0, 0, 0, 0, 0, 0, 0}, {0x01, 0, 0, 0xFF, 0, 0, 0, 0});
    EXPECT_EQ(text(), declarations("A", {0x80, 0, 0, 0, 0, 0, 0, 0x01}, {0, 0, 0, 0, 0, 0, 0, 0x01}) + b);

    // Typing A again brings its drawing back; blackening its top-left cell
    // changes only A's dark line.
    typeName(QStringLiteral("A"));
    EXPECT_EQ(colour(7), Cell::Grey);
    EXPECT_EQ(colour(56), Cell::Black);
    EXPECT_EQ(colour(0), Cell::White);
    press(7);
    EXPECT_EQ(text(), declarations("A", {0x80, 0, 0, 0, 0, 0, 0, 0x01}, {0x80, 0, 0, 0, 0, 0, 0, 0x01}) + b);
    EXPECT_EQ(shown(), QString::fromStdString(text()));
    ASSERT_EQ(nameBox().count(), 2);
    EXPECT_EQ(nameBox().itemText(1), QStringLiteral("B"));
    EXPECT_EQ(editor().document().table()[1].name, "B");
    EXPECT_EQ(editor().document().table()[0].shades[7], Cell::Black);
}

TEST_F(Editing, MarkerStepsFiveHundredTwipsPerPaletteCell)
{
    const struct {
        int index, twips, pixels;
    } tops[] = {{3, 1860, 124}, {1, 860, 57}, {2, 1360, 91}, {0, 360, 24}};
    for (const auto& t : tops) {
        pickColour(t.index);
        EXPECT_EQ(editor().document().colour(), shadeOfCode(t.index));
        EXPECT_EQ(editor().markerTop(), t.twips);
        EXPECT_EQ(colourMarker().geometry(), QRect(320, t.pixels, 32, 32)) << "palette cell " << t.index;
    }
    // Choosing a colour repaints nothing and does not regenerate.
    EXPECT_EQ(colour(0), Cell::Unpainted);
    EXPECT_EQ(text(), "");
}

TEST_F(Editing, RightPressOpensThePopUpAtThePointer)
{
    const struct {
        int cell;
        QPoint at, topLeft; // pixels: within the cell; pop-up in the editor
    } openings[] = {
        {0, {2, 4}, {234, 12}}, {9, {16, 16}, {216, 56}}, {56, {32, 32}, {264, 264}}, {63, {1, 1}, {9, 233}}};
    for (const auto& o : openings) {
        press(o.cell, Qt::RightButton, o.at);
        ASSERT_TRUE(toolPopup().isVisible());
        EXPECT_EQ(toolPopup().geometry(), QRect(o.topLeft, QSize(89, 49))) << "cell " << o.cell;
        EXPECT_TRUE(editor().rect().contains(toolPopup().geometry()));
        EXPECT_EQ(editor().childAt(toolPopup().geometry().center()), &toolPopup()) << "above the cells";
        EXPECT_EQ(colour(o.cell), Cell::Unpainted);
        QTest::mouseClick(&penButton(), Qt::LeftButton);
    }
    // Each right press regenerated.
    EXPECT_EQ(text(), declarations("Sprite", kZero, kZero));
}

TEST_F(Editing, ThePopUpOpensAtThePointerInTwipsUnclamped)
{
    const struct {
        int cell;
        float x, y, left, top; // twips: within the cell; the pop-up's corner
    } presses[] = {{0, 0, 0, 3480, 120},
                   {7, 12.5f, 30.25f, 132.5f, 150.25f},
                   {19, 100, 200, 2140, 1280},
                   {56, 494, 494, 3974, 3974}};
    for (const auto& p : presses) {
        editor().pressCell(p.cell, MouseButton::Right, p.x, p.y);
        ASSERT_TRUE(editor().document().tools().toolPopupVisible());
        EXPECT_EQ(editor().toolPopupLeft(), p.left) << "cell " << p.cell;
        EXPECT_EQ(editor().toolPopupTop(), p.top) << "cell " << p.cell;
        EXPECT_FALSE(editor().penHighlighted() || editor().brushHighlighted());
        editor().pressCell(0, MouseButton::Right, 1, 1);
        EXPECT_EQ(editor().toolPopupLeft(), p.left) << "a press on the open pop-up moves nothing";
        editor().document().closeToolPopup();
    }
}

TEST_F(Editing, PopUpHighlightChoiceAndIgnoredPresses)
{
    press(9, Qt::RightButton, {5, 5});
    EXPECT_FALSE(penButton().hasBorder() || brushButton().hasBorder());
    const std::string regenerated = text();
    const QRect at = toolPopup().geometry();

    hover(penButton());
    EXPECT_TRUE(penButton().hasBorder());
    EXPECT_FALSE(brushButton().hasBorder());
    hover(brushButton());
    EXPECT_FALSE(penButton().hasBorder());
    EXPECT_TRUE(brushButton().hasBorder());

    // While shown, presses on the grid do nothing at all; palette clicks work.
    press(63);
    press(62, Qt::RightButton, {1, 1});
    press(61, Qt::MiddleButton);
    EXPECT_EQ(colour(63), Cell::Unpainted);
    EXPECT_EQ(colour(61), Cell::Unpainted);
    EXPECT_EQ(toolPopup().geometry(), at);
    EXPECT_EQ(text(), regenerated);
    pickColour(3);
    EXPECT_EQ(editor().document().colour(), Cell::Black);

    QTest::mouseClick(&brushButton(), Qt::LeftButton);
    EXPECT_EQ(tool(), Tool::Brush);
    EXPECT_FALSE(toolPopup().isVisible());
    EXPECT_TRUE(brushButton().hasBorder()) << "choosing leaves the highlight as it was";

    // Opening again clears the highlight; the current tool can be chosen again.
    press(9, Qt::RightButton);
    EXPECT_FALSE(brushButton().hasBorder());
    QTest::mouseClick(&brushButton(), Qt::LeftButton);
    EXPECT_EQ(tool(), Tool::Brush);
    EXPECT_FALSE(toolPopup().isVisible());
    chooseTool(penButton());
    EXPECT_EQ(tool(), Tool::Pen);
}

TEST_F(Editing, BrushPaintsWhereThePointerPassesWithoutAButton)
{
    pickColour(3);
    hover(*editor().cell(40));
    EXPECT_EQ(colour(40), Cell::Unpainted) << "no tool chosen yet";

    chooseTool(brushButton());
    const std::string before = text();
    hover(*editor().cell(40), {8, 8});
    hover(*editor().cell(41));
    EXPECT_EQ(colour(40), Cell::Black);
    EXPECT_EQ(colour(41), Cell::Black);
    EXPECT_EQ(text(), before) << "moving never regenerates";

    // A right press regenerates, so the strokes reach the code; with the
    // pop-up shown, uncovered cells still take the brush, covered ones don't.
    press(63, Qt::RightButton);
    const Bytes strokes{0, 0, 0, 0, 0, 0x03, 0, 0};
    EXPECT_EQ(text(), declarations("Sprite", strokes, strokes));
    hover(*editor().cell(0));
    EXPECT_EQ(colour(0), Cell::Black);
    hover(*editor().cell(62), {16, 30});
    EXPECT_EQ(colour(62), Cell::Unpainted);

    QTest::mouseClick(&penButton(), Qt::LeftButton);
    hover(*editor().cell(42));
    EXPECT_EQ(colour(42), Cell::Unpainted) << "the pen paints only on a press";
}

TEST_F(Editing, BrushDragPaintsTheCellUnderThePointer)
{
    chooseTool(brushButton());
    pickColour(2);
    // Through the window, so the pressed cell grabs the pointer as in a real drag.
    QWindow* handle = window->windowHandle();
    const auto centre = [this](int cell) { return editor().cell(cell)->mapTo(window.get(), QPoint(16, 16)); };
    QTest::mousePress(handle, Qt::LeftButton, {}, centre(0));
    QTest::mouseMove(handle, centre(1));
    QTest::mouseMove(handle, centre(9));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, centre(9));
    EXPECT_EQ(colour(1), Cell::DarkGrey);
    EXPECT_EQ(colour(9), Cell::DarkGrey);
    EXPECT_EQ(text(), declarations("Sprite", kZero, {0x01, 0, 0, 0, 0, 0, 0, 0}));
    press(7);
    EXPECT_EQ(text(), declarations("Sprite", kZero, {0x83, 0x02, 0, 0, 0, 0, 0, 0}));
}

TEST_F(Editing, ClearTileActsEvenWithThePopUpShown)
{
    draw(QStringLiteral("Sprite"), 3, {0, 9, 63});
    press(20, Qt::RightButton);
    action("clearTileAction").trigger();
    for (int k = 0; k < 64; ++k)
        EXPECT_EQ(colour(k), Cell::White) << "cell " << k;
    EXPECT_TRUE(toolPopup().isVisible());
    EXPECT_EQ(text(), declarations("Sprite", kZero, kZero));
    EXPECT_EQ(editor().document().colour(), Cell::Black);
    for (const Cell code : editor().document().table()[0].shades)
        EXPECT_EQ(code, Cell::White);
}

TEST_F(Editing, ChildWindowsHideOnCloseAndQuitEnds)
{
    draw(QStringLiteral("Kept"), 3, {5});
    const std::string code = text();
    const char* const items[] = {"editorWindowAction", "codeWindowAction", "sheetWindowAction"};
    const QList<QMdiSubWindow*> subs = window->mdiArea()->subWindowList();
    ASSERT_EQ(subs.size(), 3);
    for (int i = 0; i < 3; ++i) {
        QMdiSubWindow* sub = subs[i];
        SCOPED_TRACE(sub->windowTitle().toStdString());
        const QRect place = sub->geometry();
        EXPECT_FALSE(sub->close());
        EXPECT_FALSE(sub->isVisible()) << "the x hides the window";
        action(items[i]).trigger();
        EXPECT_TRUE(sub->isVisible()) << "its Window menu item shows it again";
        EXPECT_EQ(sub->geometry(), place);
        int closes = 0; // the title bar's menu hides the same way
        for (QAction* item : sub->systemMenu()->actions()) {
            if (item->text().remove(u'&').startsWith(QStringLiteral("Close")) && ++closes)
                item->trigger();
        }
        EXPECT_EQ(closes, 1);
        EXPECT_FALSE(sub->isVisible());
        action(items[i]).trigger();
        EXPECT_TRUE(sub->isVisible());
    }
    EXPECT_EQ(text(), code);
    EXPECT_EQ(colour(5), Cell::Black);

    // Quit from inside the event loop, which must then end by itself once
    // the unsaved changes are discarded (the guard only stops a hung test).
    answerMessage(QMessageBox::Discard);
    QTimer::singleShot(0, &action("quitAction"), &QAction::trigger);
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, qApp, &QCoreApplication::quit);
    guard.start(10000);
    QApplication::exec();
    EXPECT_TRUE(guard.isActive()) << "Quit did not end the event loop";
    EXPECT_FALSE(window->isVisible());
}

} // namespace
} // namespace bitloom::test
