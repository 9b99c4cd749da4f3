// Unsaved work, seen from the window: several sheets left by ended runs are
// offered one after the other, newest first, each with Recover, Discard or
// Keep for Later; a timed write keeps an open brush run's cells without
// ending the run; and a recovery file that cannot be written is told in the
// status bar until one can, and in the question before the work is dropped.
#include "diskprompts.h"
#include "uitest.h"

#include "document/unsavedtext.h"
#include "io/recovery.h"
#include "io/recoverykeeper.h"
#include "ui/frame/filesession.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QThread>

namespace bitloom::test {
namespace {

constexpr int kWaitMs = 5000;

class LeftWorkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(state.isValid());
        mPrevious = qgetenv("BITLOOM_STATE_DIR");
        qputenv("BITLOOM_STATE_DIR", state.path().toUtf8());
    }
    void TearDown() override { qputenv("BITLOOM_STATE_DIR", mPrevious); }

    std::unique_ptr<TestWindow> start()
    {
        auto window = std::make_unique<TestWindow>();
        window->session().setRecoveryDelay(10);
        window->show();
        return window;
    }
    // Leaves the work of a run that ended: one sprite called `name`.
    static void leave(const std::string& name, const QString& file = {})
    {
        Recovery ended;
        ASSERT_EQ(ended.write(file, name, declarations(name, {1}, kZero)), QString());
        QThread::msleep(5); // told apart by their times
    }
    QStringList recoveryFiles() const
    {
        return QDir(state.filePath(QStringLiteral("recovery")))
            .entryList({QStringLiteral("*.recovery")}, QDir::Files);
    }
    static QByteArray contents(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir state;

private:
    QByteArray mPrevious;
};

// Newest first, each question saying how many more wait; Keep for Later and
// Discard go on to the next one, Recover ends the questions and leaves the
// rest for the next start, where only what was kept is offered.
TEST_F(LeftWorkTest, SeveralAreOfferedOneAfterTheOther)
{
    for (const char* name : {"Alpha", "Beta", "Gamma", "Delta"}) // Delta is the newest
        leave(name);
    {
        auto window = start();
        PromptAnswers prompts;
        prompts.queue(QMessageBox::No);      // Delta: Keep for Later
        prompts.queue(QMessageBox::Discard); // Gamma
        prompts.queue(QMessageBox::Yes);     // Beta: Recover
        ASSERT_TRUE(window->session().offerRecovery());
        ASSERT_EQ(prompts.seen().size(), 3u);
        EXPECT_TRUE(prompts.seen()[0].second.endsWith(
            QStringLiteral("?\n\n3 more sheets were left unsaved as well.")));
        EXPECT_TRUE(prompts.seen()[1].second.endsWith(
            QStringLiteral("?\n\n2 more sheets were left unsaved as well.")));
        EXPECT_TRUE(
            prompts.seen()[2].second.endsWith(QStringLiteral("?\n\n1 more sheet was left unsaved as well.")));
        EXPECT_EQ(window->document().code(), declarations("Beta", {1}, kZero));
        // Delta and Alpha stay; Beta is this window's own now.
        EXPECT_EQ(recoveryFiles().size(), 3);
        window->session().recoveryKeeper().forget();
    }
    auto window = start();
    PromptAnswers prompts;
    prompts.queue(QMessageBox::No);
    prompts.queue(QMessageBox::Yes);
    ASSERT_TRUE(window->session().offerRecovery());
    ASSERT_EQ(prompts.seen().size(), 2u);
    EXPECT_TRUE(
        prompts.seen()[0].second.endsWith(QStringLiteral("?\n\n1 more sheet was left unsaved as well.")));
    EXPECT_TRUE(prompts.seen()[1].second.endsWith(QStringLiteral("?")));
    EXPECT_EQ(window->document().code(), declarations("Alpha", {1}, kZero));
    window->session().recoveryKeeper().forget();
    EXPECT_EQ(recoveryFiles().size(), 1); // Delta, kept for later again
}

// A timed write takes the cells of an open brush run as a save would, and
// leaves the run open: Undo still takes back the whole run.
TEST_F(LeftWorkTest, TimedWritesKeepBrushedCellsWithoutEndingTheRun)
{
    auto window = start();
    Document& document = window->document();
    document.selectColour(3);
    document.press(0, MouseButton::Left);
    document.chooseBrush();
    document.moveOver(20);
    document.moveOver(21);
    ASSERT_TRUE(document.brushPending());
    const std::string expected = codeWithBrushedCells(document);
    ASSERT_NE(expected, document.code());
    const QString kept = window->session().recovery().filePath();
    ASSERT_TRUE(QTest::qWaitFor([&] { return contents(kept).endsWith(QByteArray::fromStdString(expected)); },
                                kWaitMs));
    EXPECT_TRUE(document.brushPending());
    EXPECT_EQ(document.undoKind(), StepKind::Brush);
    window->session().recoveryKeeper().forget();
}

// A recovery file that cannot be written: a warning in the status bar that
// stays, said again when the work is about to be dropped, gone once a write
// succeeds.
TEST_F(LeftWorkTest, AFailingRecoveryFileIsToldUntilItWorks)
{
    {
        // A file where the folder should be: no write succeeds, also as root.
        QFile blocker(state.filePath(QStringLiteral("recovery")));
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    auto window = start();
    auto* warning = window->findChild<QLabel*>(QStringLiteral("recoveryProblemStatus"));
    ASSERT_TRUE(warning);
    EXPECT_FALSE(warning->isVisible());
    window->document().press(0, MouseButton::Left);
    ASSERT_TRUE(QTest::qWaitFor([&] { return warning->isVisible(); }, kWaitMs));
    EXPECT_TRUE(warning->text().startsWith(QStringLiteral("Unsaved work is not kept for recovery: ")));
    // Other messages come and go; it stays.
    window->statusBar()->showMessage(QStringLiteral("passing"), 1);
    window->document().press(1, MouseButton::Left);
    QTest::qWait(100);
    EXPECT_TRUE(warning->isVisible());

    PromptAnswers prompts;
    prompts.queue(QMessageBox::Cancel);
    EXPECT_FALSE(window->close());
    ASSERT_EQ(prompts.seen().size(), 1u);
    EXPECT_TRUE(
        prompts.seen()[0].second.contains(QStringLiteral("\n\nUnsaved work is not kept for recovery: ")));

    ASSERT_TRUE(QFile::remove(state.filePath(QStringLiteral("recovery"))));
    window->document().press(2, MouseButton::Left);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !warning->isVisible(); }, kWaitMs));
    EXPECT_TRUE(QFile::exists(window->session().recovery().filePath()));
    window->session().recoveryKeeper().forget();
}

} // namespace
} // namespace bitloom::test
