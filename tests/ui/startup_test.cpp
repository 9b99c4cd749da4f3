#include "uitest.h"

#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

namespace bitloom::test {
namespace {

using StartUp = WindowTest;

TEST_F(StartUp, WindowsCaptionsAndArrangement)
{
    EXPECT_EQ(window->objectName(), QStringLiteral("mainWindow"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("BITLOOM by VELDRA SOFTWARE"));
    QMdiSubWindow* editorWindow = window->editorWindow();
    QMdiSubWindow* codeWindow = window->codeSubWindow();
    EXPECT_EQ(editorWindow->windowTitle(), QStringLiteral("Graph Editor"));
    EXPECT_EQ(codeWindow->windowTitle(), QStringLiteral("Generator: generated C code"));

    // The top strip is a 495-twip strip across the top; the child windows' area
    // begins below it.
    auto* topStrip = window->findChild<QFrame*>(QStringLiteral("topStrip"));
    ASSERT_NE(topStrip, nullptr);
    EXPECT_EQ(topStrip->geometry(), QRect(0, 0, window->centralWidget()->width(), 33));
    EXPECT_EQ(window->mdiArea()->y(), 33);

    // Editor at the top-left; code window 6000 x 7100 twips outside, at the
    // editor's outer width and top 0; both wholly visible.
    EXPECT_EQ(editorWindow->pos(), QPoint(0, 0));
    EXPECT_GT(editorWindow->width(), editor().width());
    EXPECT_EQ(codeWindow->geometry(), QRect(editorWindow->width(), 0, 400, 473));
    const QRect viewport = window->mdiArea()->viewport()->rect();
    EXPECT_TRUE(viewport.contains(editorWindow->geometry()));
    EXPECT_TRUE(viewport.contains(codeWindow->geometry()));
    EXPECT_EQ(pane().geometry(), window->codeWindow()->rect());
    EXPECT_EQ(text(), "");

    // The editor (5535 x 4875 twips inside) cannot be resized.
    EXPECT_EQ(editor().size(), QSize(369, 325));
    const QSize outer = editorWindow->size();
    EXPECT_EQ(editorWindow->minimumSize(), outer);
    EXPECT_EQ(editorWindow->maximumSize(), outer);
    editorWindow->resize(outer + QSize(40, 40));
    EXPECT_EQ(editorWindow->size(), outer);
    EXPECT_FALSE(editorWindow->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
}

// Also run on a screen too small for both child windows (see CMakeLists.txt).
TEST_F(StartUp, WindowFitsItsScreenAndTheWorkspaceScrollsToTheRest)
{
    const QSize available = window->screen()->availableGeometry().size();
    const QSize outer = window->frameGeometry().size();
    EXPECT_LE(outer.width(), available.width());
    EXPECT_LE(outer.height(), available.height());

    QMdiArea& area = *window->mdiArea();
    QMdiSubWindow* editorWindow = window->editorWindow();
    QMdiSubWindow* codeWindow = window->codeSubWindow();
    EXPECT_EQ(editorWindow->pos(), QPoint(0, 0));
    const QRect children =
        editorWindow->geometry() | codeWindow->geometry() | window->sheetWindow()->geometry();
    const QRect shown = area.viewport()->rect();
    const bool wide = shown.width() > children.right();
    const bool high = shown.height() > children.bottom();
    if (qEnvironmentVariableIsSet("BITLOOM_TEST_SMALL_SCREEN")) {
        ASSERT_FALSE(wide && high) << "the screen was meant to be too small";
    }
    // A direction that does not fit takes the whole screen and scrolls.
    EXPECT_TRUE(wide || outer.width() == available.width());
    EXPECT_TRUE(high || outer.height() == available.height());
    EXPECT_EQ(area.horizontalScrollBar()->isVisible(), !wide);
    EXPECT_EQ(area.verticalScrollBar()->isVisible(), !high);

    area.horizontalScrollBar()->setValue(area.horizontalScrollBar()->maximum());
    area.verticalScrollBar()->setValue(area.verticalScrollBar()->maximum());
    EXPECT_TRUE(shown.contains(codeWindow->geometry().bottomRight())) << "the code window's far corner";
    EXPECT_LE(window->sheetWindow()->geometry().bottom(), shown.bottom())
        << "the Sprites window's lower edge";
}

// Also run on a screen of 640 x 512 logical pixels (see CMakeLists.txt),
// where the windows cannot stand side by side: none starts cut off.
TEST_F(StartUp, NoWindowStartsCutOff)
{
    QMdiSubWindow* const editorWindow = window->editorWindow();
    QMdiSubWindow* const codeWindow = window->codeSubWindow();
    QMdiSubWindow* const sheetWindow = window->sheetWindow();
    const QRect shown = window->mdiArea()->viewport()->rect();
    if (!qEnvironmentVariableIsSet("BITLOOM_TEST_HALF_SCREEN"))
        GTEST_SKIP();
    for (QMdiSubWindow* sub : {editorWindow, codeWindow, sheetWindow})
        EXPECT_TRUE(shown.contains(sub->geometry())) << sub->windowTitle().toStdString();
    EXPECT_LT(codeWindow->x(), editorWindow->geometry().right()) << "the code window overlaps the editor";
    EXPECT_EQ(codeWindow->width(), 400);
    EXPECT_LT(sheetWindow->height(), 220) << "the Sprites window starts shorter";
    EXPECT_EQ(sheetWindow->height(), sheetWindow->minimumSizeHint().height());
}

TEST_F(StartUp, MenusWithTheirObjectNamesMnemonicsAndShortcuts)
{
    // Each menu as "objectName caption", its items indented below it with
    // their shortcuts; separators show as "  -". The platform decides the
    // keys of the standard commands (see Actions.StandardKeys).
    const QStringList standard = {QStringLiteral("saveAsAction"),     QStringLiteral("quitAction"),
                                  QStringLiteral("undoAction"),       QStringLiteral("redoAction"),
                                  QStringLiteral("copySpriteAction"), QStringLiteral("pasteSpriteAction")};
    QStringList menus;
    for (QAction* entry : window->menuBar()->actions()) {
        menus << entry->menu()->objectName() + u' ' + entry->menu()->title();
        for (QAction* item : entry->menu()->actions()) {
            QStringList keys;
            for (const QKeySequence& key : item->shortcuts())
                keys << key.toString();
            if (standard.contains(item->objectName()))
                keys.clear();
            menus << (item->isSeparator() ? QStringLiteral("  -")
                                          : QStringLiteral("  ") + item->objectName() + u' ' + item->text()
                                                + (keys.isEmpty() ? QString() : u' ' + keys.join(u'|')));
        }
    }
    EXPECT_EQ(
        menus.join(u'\n'),
        QStringLiteral(
            "fileMenu &File\n  newAction &New Ctrl+N\n  openAction &Open Ctrl+O\n  openRecentMenu Open "
            "&Recent\n"
            "  saveAction &Save Ctrl+S\n"
            "  saveAsAction Save &As\n  -\n  exportMenu &Export\n  importAction &Import PNG…\n  "
            "-\n"
            "  quitAction &Quit\n"
            "editMenu &Edit\n  undoAction &Undo\n  redoAction &Redo\n  -\n"
            "  copySpriteAction &Copy Sprite\n  pasteSpriteAction &Paste Sprite\n"
            "tileMenu &Tile\n  clearTileAction &Clear Tile\n  removeTileAction &Remove Tile\n  -\n"
            "  renameSpriteAction Re&name Sprite… F2\n  duplicateSpriteAction &Duplicate Sprite Ctrl+D\n  -\n"
            "  flipHorizontallyAction Flip &Horizontally Ctrl+Shift+H\n"
            "  flipVerticallyAction Flip &Vertically Ctrl+Shift+V\n"
            "  rotateClockwiseAction Rotate C&lockwise Ctrl+Shift+R\n"
            "  rotateAnticlockwiseAction Rotate &Anticlockwise Ctrl+Shift+L\n"
            "  shiftMenu &Shift\n  invertShadesAction &Invert Shades Ctrl+Shift+I\n  layoutMenu Lay&out\n"
            "windowMenu &Window\n  tileWindowsAction &Tile Windows\n  cascadeWindowsAction &Cascade Windows\n"
            "  -\n  nextWindowAction &Next Ctrl+Tab\n  previousWindowAction &Previous Ctrl+Shift+Tab\n  -\n"
            "  editorWindowAction Graph Editor\n  codeWindowAction Generator: generated C code\n"
            "  sheetWindowAction Sprites\n"
            "helpMenu &Help\n  keyboardShortcutsAction &Keyboard Shortcuts\n  aboutAction &About Bitloom"));
    // Nothing to undo or redo yet.
    EXPECT_FALSE(action("undoAction").isEnabled());
    EXPECT_FALSE(action("redoAction").isEnabled());
}

TEST_F(StartUp, EditorControlsAsLaidOut)
{
    // Grid and palette cells, 495 twips (33 px) square, at their twip
    // positions: cell 0 top-right, 7 top-left, 56 bottom-right, 63 bottom-left.
    const struct {
        bool palette;
        int index, left, top;
    } cells[] = {{false, 0, 3480, 120},   {false, 7, 120, 120},   {false, 9, 3000, 600},
                 {false, 56, 3480, 3480}, {false, 63, 120, 3480}, {true, 0, 4200, 360},
                 {true, 1, 4200, 840},    {true, 2, 4200, 1320},  {true, 3, 4200, 1800}};
    for (const auto& c : cells) {
        CellWidget* cell = c.palette ? editor().paletteCell(c.index) : editor().cell(c.index);
        EXPECT_EQ(cell->geometry(), QRect(c.left / 15, c.top / 15, 33, 33))
            << (c.palette ? "palette cell " : "cell ") << c.index;
    }
    for (int k = 0; k < 64; ++k)
        EXPECT_EQ(colour(k), Cell::Unpainted) << "cell " << k;
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(editor().paletteCell(i)->colour(), shadeOfCode(i));

    // The marker level with palette cell 0, the pop-up hidden.
    EXPECT_EQ(colourMarker().geometry(), QRect(320, 24, 32, 32));
    EXPECT_EQ(colourMarker().y(), editor().paletteCell(0)->y());
    EXPECT_TRUE(toolPopup().isHidden());
    EXPECT_FALSE(penButton().hasBorder() || brushButton().hasBorder());

    auto* nameLabel = editor().findChild<QLabel*>(QStringLiteral("nameLabel"));
    ASSERT_NE(nameLabel, nullptr);
    EXPECT_EQ(nameLabel->text(), QStringLiteral("Sprite Name:"));
    EXPECT_EQ(nameBox().currentText(), QStringLiteral("Sprite"));
    EXPECT_EQ(nameBox().count(), 0);

    // Keyboard input goes to the name box as soon as the window is active.
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(QApplication::focusWidget(), &nameBox());
    QTest::keyClick(QApplication::focusWidget(), 'x');
    EXPECT_EQ(nameBox().currentText(), QStringLiteral("Spritex"));
}

} // namespace
} // namespace bitloom::test
