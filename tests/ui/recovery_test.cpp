// Unsaved work survives: it is written to a recovery file soon after each
// change and goes once saved or discarded; a start offers only the work of
// runs that are no longer alive, and Bitlooms running side by side never
// take each other's; SIGTERM keeps the work instead of losing it.
#include "diskprompts.h"
#include "uitest.h"

#include "io/recovery.h"
#include "io/terminationsignal.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <csignal>

namespace bitloom::test {
namespace {

constexpr int kWaitMs = 5000;

// Each test keeps its state files in a folder of its own.
class Recovering : public ::testing::Test {
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
        return window;
    }
    static QByteArray contents(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QStringList recoveryFiles() const
    {
        return QDir(state.filePath(QStringLiteral("recovery")))
            .entryList({QStringLiteral("*.recovery")}, QDir::Files);
    }

    QTemporaryDir state;
    QTemporaryDir files;

private:
    QByteArray mPrevious;
};

// Written after a change, with the code text whole; gone after Save, and
// after Discard at Quit.
TEST_F(Recovering, WorkIsKeptUntilSavedOrDiscarded)
{
    auto window = start();
    const QString file = files.filePath(QStringLiteral("sprites.h"));
    window->session().startNewFile(file);
    const QString kept = window->session().recovery().filePath();
    EXPECT_FALSE(QFile::exists(kept));

    // Black, so that each press changes the code: a press that changes
    // nothing leaves the work saved.
    window->document().selectColour(3);
    window->document().press(0, MouseButton::Left);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(kept); }, kWaitMs));
    EXPECT_TRUE(contents(kept).endsWith(QByteArray::fromStdString(window->document().code())));

    window->findChild<QAction*>(QStringLiteral("saveAction"))->trigger();
    EXPECT_FALSE(QFile::exists(kept));

    window->document().press(1, MouseButton::Left);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(kept); }, kWaitMs));
    // Undo back to the saved state: nothing is unsaved, nothing kept.
    window->document().undo();
    EXPECT_FALSE(QFile::exists(kept));

    window->document().press(2, MouseButton::Left);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(kept); }, kWaitMs));
    QGuiApplication::setQuitOnLastWindowClosed(false);
    PromptAnswers prompts;
    prompts.queue(QMessageBox::Discard);
    window->show();
    EXPECT_TRUE(window->close());
    EXPECT_EQ(prompts.seen().size(), 1u);
    EXPECT_FALSE(QFile::exists(kept));
    EXPECT_TRUE(recoveryFiles().isEmpty());
}

// Work left by a run that ended is offered, with its time and file name;
// Recover brings it back unsaved and belonging to its file. A live
// Bitloom's work is never offered, and recovered work is not offered twice.
TEST_F(Recovering, OnlyWorkOfEndedRunsIsOffered)
{
    const QString file = files.filePath(QStringLiteral("sprites.h"));
    const std::string onDisk = declarations("Old", {1}, kZero) + "\n";
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray::fromStdString(onDisk));
    }
    const std::string leftText =
        declarations("Old", {1}, kZero) + declarations("Hero", {0, 0, 255}, kZero) + "\n";
    {
        // A run that wrote its work and ended: its lock went with it.
        Recovery ended;
        ASSERT_EQ(ended.write(file, "Hero", leftText), QString());
    }
    auto alive = start();
    alive->document().press(0, MouseButton::Left);
    alive->session().keepWork();
    ASSERT_EQ(recoveryFiles().size(), 2);

    auto window = start();
    window->show();
    PromptAnswers prompts;
    prompts.queue(QMessageBox::Yes);
    ASSERT_TRUE(window->session().offerRecovery());
    ASSERT_EQ(prompts.seen().size(), 1u);
    EXPECT_EQ(prompts.seen()[0].first, QStringLiteral("recoveryPrompt"));
    const QRegularExpression asked(QStringLiteral(
        "^Bitloom closed without saving\\. Recover the sprites from \\d\\d:\\d\\d \\(sprites\\.h\\)\\?$"));
    EXPECT_TRUE(asked.match(prompts.seen()[0].second).hasMatch()) << prompts.seen()[0].second.toStdString();

    EXPECT_EQ(window->document().code(), leftText);
    EXPECT_EQ(window->document().filePath(), file.toStdString());
    EXPECT_EQ(window->document().name(), "Hero");
    EXPECT_TRUE(window->document().modified());
    // The ended run's file is now this window's; the live one's stays.
    EXPECT_EQ(recoveryFiles().size(), 2);
    EXPECT_TRUE(QFile::exists(alive->session().recovery().filePath()));
    EXPECT_TRUE(
        contents(window->session().recovery().filePath()).endsWith(QByteArray::fromStdString(leftText)));

    // Saving writes the recovered work to its file, without asking: the
    // file did not change since the work was recovered.
    window->findChild<QAction*>(QStringLiteral("saveAction"))->trigger();
    EXPECT_EQ(contents(file), QByteArray::fromStdString(leftText));
    EXPECT_EQ(prompts.seen().size(), 1u);

    // Another start finds only live work: nothing to offer.
    auto third = start();
    EXPECT_FALSE(third->session().offerRecovery());
    EXPECT_EQ(prompts.seen().size(), 1u);
}

// Discard removes the left work for good.
TEST_F(Recovering, DiscardRemovesLeftWork)
{
    {
        Recovery ended;
        ASSERT_EQ(ended.write({}, "Sprite", declarations("Sprite", {1}, kZero)), QString());
    }
    auto window = start();
    window->show();
    EXPECT_EQ(recoveryFiles().size(), 1);
    PromptAnswers prompts;
    prompts.queue(QMessageBox::Discard);
    EXPECT_FALSE(window->session().offerRecovery());
    ASSERT_EQ(prompts.seen().size(), 1u);
    EXPECT_TRUE(prompts.seen()[0].second.endsWith(QStringLiteral(" (Untitled)?")));
    EXPECT_TRUE(recoveryFiles().isEmpty());
    EXPECT_FALSE(window->session().offerRecovery());
    EXPECT_FALSE(window->document().modified());
}

// Two Bitlooms starting together: left work is claimed by one at a time,
// and neither ever claims the other's own.
TEST_F(Recovering, InstancesDoNotTakeEachOthersFiles)
{
    Recovery first;
    Recovery second;
    ASSERT_EQ(first.write({}, "A", "a"), QString());
    ASSERT_EQ(second.write({}, "B", "b"), QString());
    EXPECT_TRUE(first.claimLeftWork().empty());
    EXPECT_TRUE(second.claimLeftWork().empty());
    {
        Recovery ended;
        ASSERT_EQ(ended.write({}, "C", "c"), QString());
    }
    std::vector<LeftWork> claimed = first.claimLeftWork();
    ASSERT_EQ(claimed.size(), 1u);
    EXPECT_EQ(claimed[0].text, "c");
    EXPECT_EQ(claimed[0].currentName, "C");
    EXPECT_TRUE(second.claimLeftWork().empty()); // the first offers it now
    claimed.clear();
    ASSERT_EQ(second.claimLeftWork().size(), 1u); // not taken: still there
}

// SIGTERM reaches the event loop instead of ending the process, and the
// work is kept there, as the program does at logout.
TEST_F(Recovering, TerminationKeepsTheWork)
{
    auto window = start();
    window->session().setRecoveryDelay(60'000);
    Document& document = window->document();
    document.selectColour(3);
    document.press(9, MouseButton::Left);
    // Cells brushed since: not in the text yet, but kept all the same.
    document.chooseBrush();
    document.moveOver(20);
    document.moveOver(21);
    ASSERT_TRUE(document.brushPending());
    const std::string before = document.code();
    bool asked = false;
    {
        TerminationSignal termination;
        ASSERT_TRUE(termination.installed());
        QObject::connect(&termination, &TerminationSignal::terminationRequested, [&] {
            window->session().keepWork();
            asked = true;
        });
        ASSERT_EQ(std::raise(SIGTERM), 0);
        ASSERT_TRUE(QTest::qWaitFor([&] { return asked; }, kWaitMs));
    }
    EXPECT_FALSE(document.brushPending());
    EXPECT_NE(document.code(), before);
    EXPECT_TRUE(contents(window->session().recovery().filePath())
                    .endsWith(QByteArray::fromStdString(document.code())));
    // The window going away without a clean exit leaves the work for the next start.
    const QString kept = window->session().recovery().filePath();
    window.reset();
    EXPECT_TRUE(QFile::exists(kept));
}

} // namespace
} // namespace bitloom::test
