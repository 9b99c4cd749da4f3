// The open file and other programs: a change on disk reloads an unchanged
// sheet and asks before it throws away unsaved work, Save asks before it
// overwrites a newer file, a deleted file leaves the sprites unsaved, a
// second Bitloom is told the file is open, and nothing is saved that Open
// would refuse to read back.
#include "diskprompts.h"
#include "uitest.h"

#include "io/filewatch.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>

namespace bitloom::test {
namespace {

constexpr int kWaitMs = 5000;

class Disk : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        window->session().fileWatch().setSettleTime(10);
        file = dir.filePath(QStringLiteral("sprites.h"));
    }

    static QByteArray contents(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(unreadable)");
    }
    // Writes in place, as an appending program does.
    static void writeInPlace(const QString& path, const std::string& bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes.data(), qint64(bytes.size()));
    }
    // Writes a new file and renames it over the old one, as git and editors do.
    static void replace(const QString& path, const std::string& bytes)
    {
        QSaveFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes.data(), qint64(bytes.size()));
        ASSERT_TRUE(f.commit());
    }
    std::string code() const { return window->document().code(); }
    QString status() const { return window->statusBar()->currentMessage(); }
    // The non-blocking message `name`, if one is shown.
    static std::optional<QString> message(const MainWindow& w, const char* name)
    {
        auto* box = w.findChild<QMessageBox*>(QString::fromLatin1(name));
        if (!box || !box->isVisible())
            return std::nullopt;
        return box->text();
    }

    QTemporaryDir dir;
    QString file;
};

const std::string kAB =
    "// sheet\n" + declarations("A", {1}, kZero) + declarations("B", {0, 2}, kZero) + "\n";
const std::string kABC = "// sheet, newer\n" + declarations("A", {1}, kZero)
                         + declarations("B", {0, 4}, kZero) + declarations("C", {8}, kZero) + "\n";

// Replaced, appended to and saved over by Bitloom itself: every time the
// watch is armed again, an unchanged sheet follows the file and the current
// sprite stays current.
TEST_F(Disk, UnchangedSheetFollowsTheFile)
{
    writeInPlace(file, kAB);
    ASSERT_TRUE(window->session().openFile(file));
    pickColour(3); // every press below changes the text
    window->document().chooseName(1);
    ASSERT_EQ(window->document().name(), "B");

    replace(file, kABC);
    ASSERT_TRUE(QTest::qWaitFor([&] { return code() == kABC; }, kWaitMs));
    EXPECT_EQ(window->document().name(), "B");
    EXPECT_FALSE(window->document().modified());
    EXPECT_TRUE(status().contains(QStringLiteral("sprites.h changed on disk and was reloaded")));

    const std::string appended = kABC + "// appended\n";
    writeInPlace(file, appended);
    ASSERT_TRUE(QTest::qWaitFor([&] { return code() == appended; }, kWaitMs));

    // Our own atomic save is no change; another program's after it is.
    press(0);
    action("saveAction").trigger();
    EXPECT_EQ(contents(file), QByteArray::fromStdString(code()));
    QTest::qWait(100);
    EXPECT_FALSE(window->document().modified());
    replace(file, kAB);
    ASSERT_TRUE(QTest::qWaitFor([&] { return code() == kAB; }, kWaitMs));
    EXPECT_EQ(window->document().name(), "B");
}

// Unsaved changes: Keep Mine keeps them and Save then asks before it
// overwrites the newer file; Reload takes the file.
TEST_F(Disk, UnsavedChangesAreNotLostSilently)
{
    writeInPlace(file, kAB);
    ASSERT_TRUE(window->session().openFile(file));
    pickColour(3); // every press below changes the text
    press(63);
    const std::string mine = code();
    ASSERT_TRUE(window->document().modified());

    PromptAnswers prompts;
    prompts.queue(QMessageBox::No); // Keep Mine
    replace(file, kABC);
    ASSERT_TRUE(QTest::qWaitFor([&] { return prompts.seen().size() == 1; }, kWaitMs));
    EXPECT_EQ(prompts.seen()[0].first, QStringLiteral("reloadPrompt"));
    EXPECT_EQ(prompts.seen()[0].second,
              QStringLiteral("sprites.h changed on disk. Reload it and lose your changes?"));
    EXPECT_EQ(code(), mine);
    EXPECT_TRUE(window->document().modified());

    // Save asks; Cancel leaves the newer file, Overwrite writes ours.
    prompts.queue(QMessageBox::Cancel);
    action("saveAction").trigger();
    ASSERT_EQ(prompts.seen().size(), 2u);
    EXPECT_EQ(prompts.seen()[1].first, QStringLiteral("overwritePrompt"));
    EXPECT_EQ(contents(file), QByteArray::fromStdString(kABC));
    EXPECT_TRUE(window->document().modified());
    prompts.queue(QMessageBox::Yes);
    action("saveAction").trigger();
    ASSERT_EQ(prompts.seen().size(), 3u);
    EXPECT_EQ(contents(file), QByteArray::fromStdString(mine));
    EXPECT_FALSE(window->document().modified());

    // After that save the file is ours again: the next save does not ask.
    press(62);
    action("saveAction").trigger();
    EXPECT_EQ(prompts.seen().size(), 3u);

    press(61);
    prompts.queue(QMessageBox::Yes); // Reload
    replace(file, kAB);
    ASSERT_TRUE(QTest::qWaitFor([&] { return code() == kAB; }, kWaitMs));
    EXPECT_EQ(prompts.seen().size(), 4u);
    EXPECT_FALSE(window->document().modified());
}

// A change on disk while a dialog is open waits until it closes: the
// question (with unsaved changes) or the reload (without) comes after it,
// never from inside it.
TEST_F(Disk, ChangeDuringADialogIsTakenUpAfterIt)
{
    for (const bool unsaved : {true, false}) {
        SCOPED_TRACE(unsaved ? "unsaved changes" : "nothing unsaved");
        writeInPlace(file, kAB);
        ASSERT_TRUE(window->session().openFile(file));
        if (unsaved) {
            pickColour(3);
            press(63);
        }
        const std::string before = code();
        QSignalSpy changed(&window->session().fileWatch(), &FileWatch::fileChanged);
        PromptAnswers prompts;
        if (unsaved)
            prompts.queue(QMessageBox::Yes); // Reload

        QMessageBox busy(QMessageBox::Information, QStringLiteral("Bitloom"), QStringLiteral("busy"),
                         QMessageBox::Ok, window.get());
        QTimer::singleShot(0, &busy, [&] {
            replace(file, kABC);
            EXPECT_TRUE(QTest::qWaitFor([&] { return !changed.isEmpty(); }, kWaitMs));
            QTest::qWait(50);
            EXPECT_EQ(QApplication::activeModalWidget(), &busy);
            EXPECT_TRUE(prompts.seen().empty());
            EXPECT_EQ(code(), before);
            busy.accept();
        });
        busy.exec();

        ASSERT_TRUE(QTest::qWaitFor([&] { return code() == kABC; }, kWaitMs));
        ASSERT_EQ(prompts.seen().size(), unsaved ? 1u : 0u);
        if (unsaved) {
            EXPECT_EQ(prompts.seen()[0].first, QStringLiteral("reloadPrompt"));
        }
        EXPECT_FALSE(window->document().modified());
    }
}

// A habitual Save with nothing unsaved, quicker than the watch: it must not
// write the stale text over the newer file. Declining shows the newer file.
TEST_F(Disk, SaveWithNothingUnsavedDoesNotWriteOverANewerFile)
{
    writeInPlace(file, kAB);
    ASSERT_TRUE(window->session().openFile(file));
    replace(file, kABC); // no events processed: the watch has not seen it
    PromptAnswers prompts;
    prompts.queue(QMessageBox::Cancel);
    action("saveAction").trigger();
    ASSERT_EQ(prompts.seen().size(), 1u);
    EXPECT_EQ(prompts.seen()[0].first, QStringLiteral("overwritePrompt"));
    EXPECT_EQ(contents(file), QByteArray::fromStdString(kABC));
    EXPECT_EQ(code(), kABC);
    EXPECT_FALSE(window->document().modified());
}

// A deleted file is reported; the sprites stay, unsaved, and Save writes
// the file again without asking.
TEST_F(Disk, DeletedFileLeavesTheSpritesUnsaved)
{
    writeInPlace(file, kAB);
    ASSERT_TRUE(window->session().openFile(file));
    ASSERT_TRUE(QFile::remove(file));
    ASSERT_TRUE(QTest::qWaitFor([&] { return message(*window, "fileDeletedMessage").has_value(); }, kWaitMs));
    EXPECT_TRUE(
        message(*window, "fileDeletedMessage")->contains(QStringLiteral("was deleted by another program")));
    EXPECT_EQ(code(), kAB);
    EXPECT_TRUE(window->document().modified());
    EXPECT_TRUE(window->isWindowModified());
    // Undo has nothing to take back to a saved state: still unsaved.
    EXPECT_FALSE(window->document().canUndo());

    action("saveAction").trigger();
    EXPECT_EQ(contents(file), QByteArray::fromStdString(kAB));
    EXPECT_FALSE(window->document().modified());
}

// Two Bitlooms on one file: the second is told; the lock goes with the
// first. Whoever saves second is asked, or follows when it has nothing to
// lose.
TEST_F(Disk, SecondBitloomIsToldAndDoesNotWinSilently)
{
    writeInPlace(file, kAB);
    ASSERT_TRUE(window->session().openFile(file));
    pickColour(3); // every press below changes the text
    EXPECT_FALSE(message(*window, "openElsewhereMessage"));

    auto other = std::make_unique<TestWindow>();
    other->session().fileWatch().setSettleTime(10);
    ASSERT_TRUE(other->session().openFile(file));
    ASSERT_TRUE(message(*other, "openElsewhereMessage"));
    EXPECT_TRUE(
        message(*other, "openElsewhereMessage")->contains(QStringLiteral("is open in another Bitloom")));
    // Changes on disk are taken up once no message is open.
    takeMessage(*other, "openElsewhereMessage");

    // The first saves; the second has nothing unsaved and follows.
    press(0);
    action("saveAction").trigger();
    const std::string first = code();
    ASSERT_TRUE(QTest::qWaitFor([&] { return other->document().code() == first; }, kWaitMs));

    // Both change; the first saves; the second keeps its work, and its save asks.
    other->document().selectColour(3);
    other->document().press(5, MouseButton::Left);
    press(1);
    PromptAnswers prompts;
    prompts.queue(QMessageBox::No);
    action("saveAction").trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return prompts.seen().size() == 1; }, kWaitMs));
    prompts.queue(QMessageBox::Cancel);
    other->findChild<QAction*>(QStringLiteral("saveAction"))->trigger();
    ASSERT_EQ(prompts.seen().size(), 2u);
    EXPECT_EQ(prompts.seen()[1].first, QStringLiteral("overwritePrompt"));
    EXPECT_EQ(contents(file), QByteArray::fromStdString(code()));

    // Once the first has gone, the file is free.
    window.reset();
    other.reset();
    TestWindow third;
    ASSERT_TRUE(third.session().openFile(file));
    EXPECT_FALSE(message(third, "openElsewhereMessage"));
}

// A text that Open would refuse is never saved: a 100-sprite file just
// under 4 MiB plus one new sprite is refused, and the file stays whole.
TEST_F(Disk, SaveRefusesWhatOpenWouldRefuse)
{
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += declarations("S" + std::to_string(i), {i & 0xFF}, kZero);
    text += "\n";
    constexpr std::size_t kLimit = 4u * 1024u * 1024u;
    // Filler comment lines up to a few bytes below the limit.
    while (text.size() + 1024 < kLimit - 40)
        text += "// " + std::string(1020, 'x') + "\n";
    text += "// " + std::string(kLimit - 40 - text.size() - 4, 'y') + "\n";
    ASSERT_EQ(text.size(), kLimit - 40 - 0u);
    writeInPlace(file, text);
    ASSERT_TRUE(window->session().openFile(file));
    ASSERT_EQ(window->document().names().size(), 100u);

    draw(QStringLiteral("Extra"), 3, {0});
    ASSERT_GT(code().size(), kLimit);
    action("saveAction").trigger();
    const auto refusal = message(*window, "saveFailedMessage");
    ASSERT_TRUE(refusal);
    EXPECT_TRUE(refusal->contains(QStringLiteral("larger than 4 MiB")));
    EXPECT_EQ(contents(file), QByteArray::fromStdString(text));
    EXPECT_TRUE(window->document().modified());
}

} // namespace
} // namespace bitloom::test
