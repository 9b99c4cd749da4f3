// Help and everyday comfort: the Help menu's Keyboard Shortcuts window and
// About box, File > Open Recent, the keyboard back where it was after
// Rename, and the Export Sheet dialog's title.
#include "uitest.h"

#include "ui/frame/helpwindows.h"
#include "ui/frame/recentfiles.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>

namespace bitloom::test {
namespace {

class Help : public WindowTest {};

// The list holds the menus' shortcuts as the menus have them, and the keys
// of painting with the keyboard; About names the version and the licence.
TEST_F(Help, ShortcutsAndAbout)
{
    action("keyboardShortcutsAction").trigger();
    auto* shortcuts = window->findChild<ShortcutsWindow*>(QStringLiteral("shortcutsWindow"));
    ASSERT_TRUE(shortcuts);
    EXPECT_TRUE(shortcuts->isVisible());
    EXPECT_FALSE(shortcuts->isModal());
    const QStringList entries = shortcuts->entries();
    for (const char* expected : {
             "File menu: Open: Ctrl+O",
             "Tile menu: Rename Sprite: F2",
             "Tile menu: Duplicate Sprite: Ctrl+D",
             "Window menu: Next: Ctrl+Tab",
             "Grid (painting with the keyboard): Move to the next cell: Arrow keys",
             "Grid (painting with the keyboard): Choose white, grey, dark grey or black: 1, 2, 3, 4",
             "Grid (painting with the keyboard): Paint the cell (as a left click): Space or Return",
             "Grid (painting with the keyboard): Rotate Anticlockwise: Shift+R",
         })
        EXPECT_TRUE(entries.contains(QString::fromUtf8(expected))) << expected << "\n"
                                                                   << entries.join(u'\n').toStdString();
    // Every key of an item, as the menu has them.
    const QStringList redo = entries.filter(QStringLiteral("Edit menu: Redo: "));
    ASSERT_EQ(redo.size(), 1);
    for (const QKeySequence& key : action("redoAction").shortcuts())
        EXPECT_TRUE(redo[0].contains(key.toString(QKeySequence::NativeText))) << redo[0].toStdString();
    // Asked for again: the same window comes forward.
    action("keyboardShortcutsAction").trigger();
    EXPECT_EQ(window->findChildren<ShortcutsWindow*>().size(), 1);

    const std::optional<QString> about =
        answering(QMessageBox::Close, [&] { action("aboutAction").trigger(); });
    ASSERT_TRUE(about);
    EXPECT_TRUE(about->contains(QStringLiteral("Bitloom " BITLOOM_VERSION))) << about->toStdString();
    EXPECT_TRUE(about->contains(QStringLiteral("MIT License")));
    EXPECT_TRUE(about->contains(QStringLiteral("8 × 8 sprites")));
}

class Recent : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        ASSERT_TRUE(files.isValid());
        window->recentFiles().clear();
    }
    QString make(const QString& name)
    {
        const QString path = files.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(declarations(name.toStdString().substr(0, 1), {1}, kZero).c_str());
        return path;
    }
    // The menu's captions as it shows them.
    QStringList menu() const
    {
        auto* menu = window->findChild<QMenu*>(QStringLiteral("openRecentMenu"));
        EXPECT_TRUE(menu);
        emit menu->aboutToShow();
        QStringList captions;
        for (QAction* item : menu->actions())
            captions << (item->isSeparator() ? QStringLiteral("-") : item->text());
        return captions;
    }
    QAction* item(int index) const
    {
        return window->findChild<QMenu*>(QStringLiteral("openRecentMenu"))->actions().value(index);
    }

    QTemporaryDir files;
};

// The last eight files opened or saved, newest first, each once, kept for
// the next start; a vanished one goes with a message; Clear Menu empties it.
TEST_F(Recent, LastEightFilesNewestFirst)
{
    EXPECT_EQ(menu(), QStringList({QStringLiteral("-"), QStringLiteral("Clear Menu")}));
    for (char c = 'a'; c <= 'i'; ++c)
        ASSERT_TRUE(window->session().openFile(make(QStringLiteral("%1.h").arg(QLatin1Char(c)))));
    ASSERT_TRUE(window->session().openFile(files.filePath(QStringLiteral("c.h"))));
    EXPECT_EQ(menu(),
              QStringList({QStringLiteral("&1 c.h"), QStringLiteral("&2 i.h"), QStringLiteral("&3 h.h"),
                           QStringLiteral("&4 g.h"), QStringLiteral("&5 f.h"), QStringLiteral("&6 e.h"),
                           QStringLiteral("&7 d.h"), QStringLiteral("&8 b.h"), QStringLiteral("-"),
                           QStringLiteral("Clear Menu")}));

    item(2)->trigger(); // h.h
    EXPECT_EQ(window->document().filePath(), files.filePath(QStringLiteral("h.h")).toStdString());
    EXPECT_EQ(menu().value(0), QStringLiteral("&1 h.h"));

    ASSERT_TRUE(QFile::remove(files.filePath(QStringLiteral("g.h"))));
    item(3)->trigger(); // g.h
    const std::optional<QString> told = takeMessage(*window, "recentFileMissingMessage");
    ASSERT_TRUE(told);
    EXPECT_TRUE(told->contains(QStringLiteral("g.h\" no longer exists"))) << told->toStdString();
    EXPECT_EQ(window->document().filePath(), files.filePath(QStringLiteral("h.h")).toStdString());
    EXPECT_FALSE(menu().join(u' ').contains(QStringLiteral("g.h")));
    EXPECT_EQ(menu().size(), 9);

    TestWindow next;
    EXPECT_EQ(next.recentFiles().files().size(), 7);
    EXPECT_EQ(next.recentFiles().files().value(0), files.filePath(QStringLiteral("h.h")));

    menu();
    window->findChild<QAction*>(QStringLiteral("clearRecentAction"))->trigger();
    EXPECT_EQ(menu(), QStringList({QStringLiteral("-"), QStringLiteral("Clear Menu")}));
    EXPECT_FALSE(window->findChild<QAction*>(QStringLiteral("clearRecentAction"))->isEnabled());
}

class Comfort : public WindowTest {};

// The real Rename dialog, answered: the grid cell that had the keyboard has
// it again, and the next shortcut works at once.
TEST_F(Comfort, RenameGivesTheKeyboardBack)
{
    press(9);
    CellWidget* cell = editor().cell(editor().focusCell());
    cell->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == cell; }));
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->setTextValue(QStringLiteral("Hero"));
        dialog->accept();
    });
    action("renameSpriteAction").trigger();
    EXPECT_EQ(window->document().name(), "Hero");
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == cell; }));
    QTest::keyClick(cell, Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(window->document().name(), "Hero_copy");
}

// The file dialog of Export Sheet says what it is for.
TEST_F(Comfort, ExportSheetDialogIsTitledSo)
{
    press(0);
    QString title;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        title = dialog->windowTitle();
        dialog->reject();
    });
    action("exportSheetAction").trigger();
    EXPECT_EQ(title, QStringLiteral("Export Sheet"));
}

} // namespace
} // namespace bitloom::test
