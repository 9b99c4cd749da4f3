// What a Bitloom keeps of itself on disk: recovery files written on a
// deadline while the user works, off the window's thread, private to the
// user; one lock per instance that has a file open; and the signals that
// end a program handed to the event loop.
#include "io/filelock.h"
#include "io/recovery.h"
#include "io/recoverykeeper.h"
#include "io/statefolder.h"
#include "io/terminationsignal.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace bitloom {
namespace {

constexpr int kWaitMs = 5000;

mode_t modeOf(const QString& path)
{
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 0777 : 0;
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Each test keeps its state files in a folder of its own.
class State : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        mPrevious = qgetenv("BITLOOM_STATE_DIR");
        qputenv("BITLOOM_STATE_DIR", dir.path().toUtf8());
    }
    void TearDown() override { qputenv("BITLOOM_STATE_DIR", mPrevious); }
    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }

    QTemporaryDir dir;

private:
    QByteArray mPrevious;
};

// A change is written within the first delay, and while changes go on at
// most once per interval: later changes never put off a write that is due.
TEST(WriteDeadline, IsADeadlineNotADebounce)
{
    enum Event { Change, Wrote, Clear };
    struct Step {
        Event event;
        std::int64_t at;
        std::optional<std::int64_t> due; // afterwards
    };
    const Step steps[] = {
        {Change, 0, 1000},      // the first change: written a second later
        {Change, 600, 1000},    // more changes do not move it
        {Change, 999, 1000},    //
        {Wrote, 1000, {}},      //
        {Change, 1100, 6000},   // going on: one interval after the last write
        {Change, 5900, 6000},   //
        {Wrote, 6000, {}},      //
        {Change, 30000, 31000}, // after a pause: the first delay again
        {Wrote, 31000, {}},     //
        {Clear, 31500, {}},     // saved: the next change is a first one
        {Change, 32000, 33000}, //
        {Clear, 32100, {}},     // saved before its write: nothing is due
    };
    WriteDeadline deadline(1000, 5000);
    for (const Step& step : steps) {
        switch (step.event) {
        case Change: EXPECT_EQ(deadline.changed(step.at), *step.due) << "change at " << step.at; break;
        case Wrote: deadline.wrote(step.at); break;
        case Clear: deadline.clear(); break;
        }
        EXPECT_EQ(deadline.due(), step.due) << "after the event at " << step.at;
    }
}

// Under changes that never pause, the keeper writes again and again, each
// time the work as it is then; forgetting removes the file even when the
// keeper goes right after.
TEST_F(State, KeeperWritesWhileChangesGoOn)
{
    Recovery recovery;
    std::atomic<int> version = 0;
    std::atomic<std::thread::id> snapshotThread;
    int snapshots = 0;
    auto keeper = std::make_unique<RecoveryKeeper>(recovery, [&]() -> std::optional<UnsavedWork> {
        ++snapshots;
        snapshotThread = std::this_thread::get_id();
        return UnsavedWork{path("a.h"), "Hero", "version " + std::to_string(version.load())};
    });
    keeper->setTimes(20, 150);
    QSignalSpy written(keeper.get(), &RecoveryKeeper::written);
    QElapsedTimer clock;
    clock.start();
    // A change every 10 ms for a second: a debounce would never write.
    while (clock.elapsed() < 1000) {
        ++version;
        keeper->changed();
        QTest::qWait(10);
    }
    EXPECT_GE(written.count(), 3);
    EXPECT_LE(snapshots, 1000 / 150 + 2);
    EXPECT_EQ(snapshotThread.load(), std::this_thread::get_id()); // taken on the window's thread
    keeper->waitIdle();
    const QByteArray kept = contents(recovery.filePath());
    EXPECT_TRUE(kept.startsWith("Bitloom recovery 1\n")) << kept.toStdString();
    // What was written is at most one interval behind.
    ASSERT_TRUE(QTest::qWaitFor([&] { return written.count() > 0 && !keeper->due(); }, kWaitMs));
    keeper->waitIdle();
    EXPECT_TRUE(
        contents(recovery.filePath()).endsWith(QByteArray("version ") + QByteArray::number(version.load())));
    EXPECT_EQ(keeper->problem(), QString());

    keeper->forget();
    keeper.reset();
    EXPECT_FALSE(QFile::exists(recovery.filePath()));
}

// A write that fails is told at once and stays told until one works;
// keepNow() writes on the spot, past any due time.
TEST_F(State, KeeperTellsWhenWritesFailAndWorkAgain)
{
    // A file where the folder should be: writing fails, also as root.
    QFile blocker(path("recovery"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    Recovery recovery;
    std::optional<UnsavedWork> work = UnsavedWork{{}, "Sprite", "text"};
    RecoveryKeeper keeper(recovery, [&] { return work; });
    keeper.setTimes(0, 0);
    QSignalSpy problems(&keeper, &RecoveryKeeper::problemChanged);
    keeper.changed();
    ASSERT_TRUE(problems.wait(kWaitMs));
    EXPECT_FALSE(keeper.problem().isEmpty());
    // Failing again is not news.
    keeper.changed();
    QSignalSpy written(&keeper, &RecoveryKeeper::written);
    ASSERT_TRUE(written.wait(kWaitMs));
    EXPECT_EQ(problems.count(), 1);

    ASSERT_TRUE(QFile::remove(path("recovery")));
    work->text = "kept";
    keeper.setTimes(60'000, 60'000);
    keeper.changed();
    EXPECT_EQ(keeper.keepNow(), QString());
    EXPECT_FALSE(keeper.due());
    ASSERT_EQ(problems.count(), 2);
    EXPECT_EQ(problems.at(1).at(0).toString(), QString());
    EXPECT_TRUE(contents(recovery.filePath()).endsWith("\n\nkept"));

    // Nothing unsaved any more when the program ends: nothing is kept.
    work.reset();
    EXPECT_EQ(keeper.keepNow(), QString());
    EXPECT_FALSE(QFile::exists(recovery.filePath()));
}

// The folder and every file in it are the user's alone, whatever the umask;
// a folder an earlier version left open is closed.
TEST_F(State, FilesArePrivate)
{
    const mode_t umask = ::umask(022);
    ASSERT_TRUE(QDir().mkpath(path("recovery")));
    ASSERT_EQ(modeOf(path("recovery")), 0755u);
    Recovery recovery;
    ASSERT_EQ(recovery.write({}, "A", "a"), QString());
    FileLock lock;
    EXPECT_TRUE(lock.lock(path("sprites.h")));
    ::umask(umask);

    EXPECT_EQ(modeOf(recovery.folder()), 0700u);
    EXPECT_EQ(modeOf(recovery.filePath()), 0600u);
    EXPECT_EQ(modeOf(FileLock::folder()), 0700u);
    const QFileInfoList files = QDir(recovery.folder()).entryInfoList(QDir::Files)
                                + QDir(FileLock::folder()).entryInfoList(QDir::Files);
    EXPECT_EQ(files.size(), 3); // the recovery file, its lock, the file lock
    for (const QFileInfo& file : files)
        EXPECT_EQ(modeOf(file.absoluteFilePath()), 0600u) << file.fileName().toStdString();
}

// Work left by ended runs comes newest first, whatever the order of the
// files in the folder.
TEST_F(State, LeftWorkComesNewestFirst)
{
    for (const char* text : {"first", "second", "third"}) {
        Recovery ended;
        ASSERT_EQ(ended.write({}, "A", text), QString());
        QThread::msleep(5); // the times are kept to the millisecond
    }
    Recovery recovery;
    const std::vector<LeftWork> left = recovery.claimLeftWork();
    ASSERT_EQ(left.size(), 3u);
    EXPECT_EQ(left[0].text, "third");
    EXPECT_EQ(left[1].text, "second");
    EXPECT_EQ(left[2].text, "first");
}

// Every instance with the file open holds a lock: a third one is told while
// the second still has the file, after the first has let go, and the lock
// a dead instance left behind tells nobody anything.
TEST_F(State, EveryInstanceWithTheFileOpenHoldsALock)
{
    const QString file = path("sprites.h");
    FileLock first, second, third;
    EXPECT_TRUE(first.lock(file));
    EXPECT_FALSE(second.lock(file));
    first.release();
    EXPECT_FALSE(third.lock(file));
    second.release();
    third.release();
    EXPECT_TRUE(first.lock(file));
    EXPECT_TRUE(first.lock(file)); // its own lock is not another's
    EXPECT_TRUE(second.lock(path("other.h")));
    first.release();

    // A Bitloom that died with the file open.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        FileLock dying;
        dying.lock(file);
        ::_exit(dying.held() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const QString name = FileLock::lockNameFor(file);
    ASSERT_EQ(QDir(FileLock::folder()).entryList({name + QStringLiteral(".*")}).size(), 1);
    EXPECT_TRUE(first.lock(file));
    // Its lock was cleared away; only the live one is left.
    EXPECT_EQ(QDir(FileLock::folder()).entryList({name + QStringLiteral(".*")}).size(), 1);
}

// SIGTERM, SIGHUP, SIGINT and SIGQUIT reach the event loop instead of ending
// the process; a signal ignored when the handler came stays ignored.
TEST(TerminationSignal, EverySignalThatEndsAProgramIsHandled)
{
    struct sigaction previous {};
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    ASSERT_EQ(::sigaction(SIGHUP, &ignore, &previous), 0);
    {
        TerminationSignal termination;
        ASSERT_TRUE(termination.installed());
        QSignalSpy requested(&termination, &TerminationSignal::terminationRequested);
        ASSERT_EQ(std::raise(SIGHUP), 0);
        QTest::qWait(50);
        EXPECT_EQ(requested.count(), 0);
    }
    ASSERT_EQ(::sigaction(SIGHUP, &previous, nullptr), 0);

    for (const int signal : {SIGTERM, SIGHUP, SIGINT, SIGQUIT}) {
        struct sigaction before {};
        ASSERT_EQ(::sigaction(signal, nullptr, &before), 0);
        if (signal != SIGTERM && before.sa_handler == SIG_IGN)
            continue; // the test runs with it ignored: covered above
        {
            TerminationSignal termination;
            ASSERT_TRUE(termination.installed());
            QSignalSpy requested(&termination, &TerminationSignal::terminationRequested);
            ASSERT_EQ(std::raise(signal), 0);
            EXPECT_TRUE(requested.wait(kWaitMs)) << "signal " << signal;
        }
        struct sigaction after {};
        ASSERT_EQ(::sigaction(signal, nullptr, &after), 0);
        EXPECT_EQ(after.sa_handler, before.sa_handler) << "signal " << signal << " handled as before";
    }
}

} // namespace
} // namespace bitloom
