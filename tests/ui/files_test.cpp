// The file and edit commands on the real main window: saving writes the
// code text, the title tells the file and unsaved changes, the prompt comes
// only when something would be lost, a failed save loses nothing, and Undo
// reaches the drawing from wherever the keyboard is.
#include "uitest.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include <csignal>
#include <deque>
#include <optional>
#include <sys/resource.h>

namespace bitloom::test {
namespace {

class Files : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        window->session().setFileChooser(
            [this](bool forSaving, const QString& suggested, FileSession::FileKind) {
                asked.push_back({forSaving, suggested});
                if (answers.empty())
                    return QString();
                const QString answer = answers.front();
                answers.pop_front();
                return answer;
            });
    }

    // The title as the window system shows it.
    QString title() const { return window->windowHandle()->title(); }
    QString path(const QString& name) const { return dir.filePath(name); }
    static QByteArray contents(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
    }
    static void write(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    std::optional<QString> message(const char* name) const { return takeMessage(*window, name); }

    QTemporaryDir dir;
    std::deque<QString> answers;
    std::vector<std::pair<bool, QString>> asked;
};

const QString kCaption = QStringLiteral("BITLOOM by VELDRA SOFTWARE");

TEST_F(Files, SaveWritesTheCodeTextAndTheTitleFollows)
{
    EXPECT_EQ(title(), kCaption);
    draw(QStringLiteral("A"), 1, {7});
    EXPECT_EQ(title(), QStringLiteral("Untitled* - ") + kCaption);

    // Save without a file asks for one, suggesting sprites.h.
    answers = {path(QStringLiteral("sheet.h"))};
    action("saveAction").trigger();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_TRUE(asked[0].first);
    EXPECT_EQ(asked[0].second, QStringLiteral("sprites.h"));
    EXPECT_EQ(contents(path(QStringLiteral("sheet.h"))), QByteArray::fromStdString(text()));
    EXPECT_EQ(title(), QStringLiteral("sheet.h - ") + kCaption);

    // Cells brushed since the last press are saved as shown. Save now
    // writes to the same file without asking.
    draw(QStringLiteral("Ünï"), 2, {0});
    chooseTool(brushButton());
    pickColour(3);
    hover(*editor().cell(9), {5, 5});
    hover(*editor().cell(9));
    EXPECT_EQ(title(), QStringLiteral("sheet.h* - ") + kCaption);
    action("saveAction").trigger();
    EXPECT_EQ(asked.size(), 1u);
    const QByteArray saved = contents(path(QStringLiteral("sheet.h")));
    EXPECT_EQ(saved, QByteArray::fromStdString(text()));
    EXPECT_TRUE(saved.contains("\nstatic unsigned char \xC3\x9Cn\xC3\xAF"
                               "dark[]={0x01,0x02,"));
    EXPECT_EQ(title(), QStringLiteral("sheet.h - ") + kCaption);

    // Save As always asks; the new file becomes the document's.
    answers = {path(QStringLiteral("copy.h"))};
    action("saveAsAction").trigger();
    EXPECT_EQ(asked.back().second, path(QStringLiteral("sheet.h")));
    EXPECT_EQ(contents(path(QStringLiteral("copy.h"))), saved);
    EXPECT_EQ(title(), QStringLiteral("copy.h - ") + kCaption);
}

// New, Open and Quit ask only when there are unsaved changes. Cancel keeps
// everything, Discard goes on, Save saves first.
TEST_F(Files, PromptOnlyWhenChangesWouldBeLost)
{
    const auto quit = [this] { window->close(); };
    QGuiApplication::setQuitOnLastWindowClosed(false);
    EXPECT_EQ(answering(QMessageBox::Cancel, [this] { action("newAction").trigger(); }), std::nullopt);

    draw(QStringLiteral("A"), 3, {0});
    const std::string drawn = text();
    for (const auto& command : std::vector<std::function<void()>>{
             [this] { action("newAction").trigger(); }, [this] { action("openAction").trigger(); }, quit}) {
        EXPECT_EQ(answering(QMessageBox::Cancel, command), QStringLiteral("Save changes to Untitled?"));
        EXPECT_EQ(text(), drawn);
        EXPECT_TRUE(window->isVisible());
        EXPECT_TRUE(editor().document().modified());
    }
    EXPECT_TRUE(asked.empty()) << "Cancel went on to the file dialog";

    // Discard: a fresh start.
    EXPECT_TRUE(answering(QMessageBox::Discard, [this] { action("newAction").trigger(); }));
    EXPECT_EQ(text(), "");
    EXPECT_EQ(nameBox().count(), 0);
    EXPECT_EQ(colour(0), Cell::Unpainted);
    EXPECT_EQ(title(), kCaption);

    // Save, then open another file.
    draw(QStringLiteral("B"), 1, {1});
    const std::string b = text();
    const std::string other = "// mine\r\n" + declarations("C", {0x02}, kZero);
    write(path(QStringLiteral("other.h")), QByteArray::fromStdString(other));
    answers = {path(QStringLiteral("b.h")), path(QStringLiteral("other.h"))};
    EXPECT_TRUE(answering(QMessageBox::Save, [this] { action("openAction").trigger(); }));
    EXPECT_EQ(contents(path(QStringLiteral("b.h"))), QByteArray::fromStdString(b));
    EXPECT_EQ(text(), other);
    EXPECT_EQ(nameBox().currentText(), QStringLiteral("C"));
    EXPECT_EQ(colour(1), Cell::Grey);
    EXPECT_EQ(title(), QStringLiteral("other.h - ") + kCaption);

    // Nothing to lose: Open and Quit act at once.
    write(path(QStringLiteral("nul.h")), QByteArray("A\0B", 3));
    answers = {path(QStringLiteral("nul.h"))};
    EXPECT_EQ(answering(QMessageBox::Cancel, [this] { action("openAction").trigger(); }), std::nullopt);
    EXPECT_TRUE(message("openFailedMessage").value_or(QString()).contains(QStringLiteral("NUL")));
    EXPECT_EQ(text(), other);
    EXPECT_EQ(answering(QMessageBox::Cancel, quit), std::nullopt);
    EXPECT_FALSE(window->isVisible());
    QGuiApplication::setQuitOnLastWindowClosed(true);
}

// A save that fails says why and loses nothing: the old file stays whole
// and the document stays unsaved.
TEST_F(Files, FailedSaveLosesNothing)
{
    draw(QStringLiteral("A"), 3, {0});
    const QString old = path(QStringLiteral("old.h"));
    answers = {old};
    action("saveAction").trigger();
    const QByteArray before = contents(old);
    draw(QStringLiteral("Longer"), 2, {1, 2, 3});

    write(path(QStringLiteral("plain")), "a file, not a folder");
    answers = {QStringLiteral("/dev/full"), path(QStringLiteral("plain/sheet.h")), path(QStringLiteral("."))};
    for (int i = 0; i < 3; ++i) {
        action("saveAsAction").trigger();
        EXPECT_TRUE(message("saveFailedMessage")) << "answer " << i;
        EXPECT_TRUE(editor().document().modified());
        EXPECT_EQ(title(), QStringLiteral("old.h* - ") + kCaption);
    }

    // The disk fills up while the new text is written.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit was = limit;
    limit.rlim_cur = rlim_t(before.size()) + 16;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    action("saveAction").trigger();
    setrlimit(RLIMIT_FSIZE, &was);
    std::signal(SIGXFSZ, SIG_DFL);
    EXPECT_TRUE(message("saveFailedMessage"));
    EXPECT_EQ(contents(old), before);
    EXPECT_TRUE(editor().document().modified());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
              (QStringList{QStringLiteral("old.h"), QStringLiteral("plain")}))
        << "no scraps left behind";

    // A failed save in the prompt keeps the window: a folder now stands
    // where the file was.
    ASSERT_TRUE(QFile::remove(old));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("old.h")));
    QGuiApplication::setQuitOnLastWindowClosed(false);
    EXPECT_TRUE(answering(QMessageBox::Save, [this] { window->close(); }));
    QGuiApplication::setQuitOnLastWindowClosed(true);
    EXPECT_TRUE(message("saveFailedMessage"));
    EXPECT_TRUE(window->isVisible());
}

// The Edit menu names the step it would take back, and Ctrl+Z undoes the
// last drawing step even from the name box.
TEST_F(Files, UndoRedoAndRemoveTile)
{
    QAction& undo = action("undoAction");
    QAction& redo = action("redoAction");
    const auto captions = [&] { return undo.text() + u'|' + redo.text(); };
    EXPECT_FALSE(undo.isEnabled());
    EXPECT_FALSE(redo.isEnabled());

    draw(QStringLiteral("A"), 1, {7});
    draw(QStringLiteral("B"), 2, {0, 1});
    EXPECT_EQ(captions(), QStringLiteral("&Undo Paint|&Redo"));
    EXPECT_TRUE(undo.isEnabled());
    EXPECT_FALSE(redo.isEnabled());
    action("clearTileAction").trigger();
    EXPECT_EQ(captions(), QStringLiteral("&Undo Clear Tile|&Redo"));
    undo.trigger();
    EXPECT_EQ(captions(), QStringLiteral("&Undo Paint|&Redo Clear Tile"));
    EXPECT_TRUE(redo.isEnabled());

    // From the name box, with the keyboard there.
    const std::string b = text();
    nameBox().setFocus();
    ASSERT_TRUE(QTest::qWaitFor([this] {
        QWidget* focus = QApplication::focusWidget();
        return focus == &nameBox() || nameBox().isAncestorOf(focus);
    }));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(colour(1), Cell::White);
    EXPECT_EQ(colour(0), Cell::DarkGrey);
    EXPECT_NE(text(), b);
    EXPECT_EQ(nameBox().currentText(), QStringLiteral("B"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(text(), b);
    EXPECT_EQ(colour(1), Cell::DarkGrey);

    // Remove Tile from the menu: A goes, its name stays in the box.
    chooseName(0);
    action("removeTileAction").trigger();
    EXPECT_EQ(text(), declarations("B", kZero, {0x03}));
    EXPECT_EQ(shown(), QString::fromStdString(text()));
    ASSERT_EQ(nameBox().count(), 1);
    EXPECT_EQ(nameBox().itemText(0), QStringLiteral("B"));
    EXPECT_EQ(nameBox().currentText(), QStringLiteral("A"));
    EXPECT_EQ(colour(7), Cell::White);
    EXPECT_EQ(captions(), QStringLiteral("&Undo Remove Tile|&Redo"));
    undo.trigger();
    EXPECT_EQ(nameBox().count(), 2);
    EXPECT_EQ(colour(7), Cell::Grey);
    EXPECT_EQ(text(), b);
}

} // namespace
} // namespace bitloom::test

namespace bitloom::test {
namespace {

// A file with CRLF line ends and a byte-order mark: the pane shows its lines,
// and copying from the pane gives the code text's own characters, whatever
// the shown document makes of the carriage returns.
TEST_F(Files, CopyFromAnOpenedCrlfFileIsTheCodeText)
{
    const QByteArray file =
        "\xEF\xBB\xBF// mine\r\nstatic unsigned char Alight[]={0x80,0x00,0x00,0x00,0x00,0x00,0x00,0x01};\r\n"
        "static unsigned char Adark[]={0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x01};\r\nint x;\r\n";
    write(path(QStringLiteral("crlf.h")), file);
    ASSERT_TRUE(window->session().openFile(path(QStringLiteral("crlf.h"))));
    ASSERT_EQ(text(), file.toStdString());
    pickColour(3);
    press(0);
    const std::string code = text();
    ASSERT_NE(code, file.toStdString());
    // Character for character, the carriage returns shown as zero-width spaces.
    EXPECT_EQ(shown(), QChar(0xFEFF) + QString::fromStdString(code.substr(3)).replace(u'\r', QChar(0x200B)));

    pane().setFocus();
    QTest::keyClick(&pane(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&pane(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), code);

    // A part of a line copies as the same part of the code text.
    QTextCursor cursor = pane().document()->find(QStringLiteral("int x"));
    ASSERT_FALSE(cursor.isNull());
    pane().setTextCursor(cursor);
    QTest::keyClick(&pane(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("int x"));
}

} // namespace
} // namespace bitloom::test
