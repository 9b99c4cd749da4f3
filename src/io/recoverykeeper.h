#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

class QTimer;

namespace bitloom {

class Recovery;

// When unsaved work is written: soon after the first change, then at most
// once per interval while changes go on. A deadline, not a debounce: a
// change never puts off a write that is already due, so however steadily
// the user works, a crash loses at most the last interval's changes.
// Times are milliseconds on any steady clock.
class WriteDeadline {
public:
    WriteDeadline(std::int64_t firstDelay, std::int64_t interval)
        : mFirstDelay(firstDelay), mInterval(interval)
    {
    }

    // A change at `now`. Returns when the write that holds it is due.
    std::int64_t changed(std::int64_t now);
    // A write at `now` took in every change so far.
    void wrote(std::int64_t now);
    // Nothing is unsaved any more (saved or discarded): the next change is
    // a first one again.
    void clear();
    std::optional<std::int64_t> due() const { return mDue; }

private:
    std::int64_t mFirstDelay;
    std::int64_t mInterval;
    std::optional<std::int64_t> mDue;
    std::optional<std::int64_t> mLastWrite;
};

// The unsaved work of one window, as it goes into its recovery file.
struct UnsavedWork {
    QString originalPath;    // the file it belongs to, or empty
    std::string currentName; // the sprite on the grid
    std::string text;        // the code text, brushed cells included
};

// Keeps the unsaved work of one window in its recovery file as WriteDeadline
// says: the work is taken on this thread when a write is due and written on
// a thread of its own, so that a large sheet never holds up a press. Tells
// when writing fails and when it works again.
class RecoveryKeeper : public QObject {
    Q_OBJECT
public:
    // `snapshot` gives the work to keep, or nothing when none is unsaved.
    using Snapshot = std::function<std::optional<UnsavedWork>()>;
    RecoveryKeeper(Recovery& recovery, Snapshot snapshot, QObject* parent = nullptr);
    // Finishes the write in hand and the one waiting; the file stays.
    ~RecoveryKeeper() override;

    // Milliseconds from the first change to its write, and at least between
    // two writes while changes go on.
    void setTimes(int firstDelay, int interval);

    // The work changed and is unsaved.
    void changed();
    // Nothing is unsaved (saved, discarded, undone to the saved state): the
    // recovery file is gone when this returns (a write in hand is waited
    // for, one that waits is dropped).
    void forget();
    // Writes the work now, on this thread, once a write in hand is done: the
    // program is about to end. Returns the system's reason for a failure.
    QString keepNow();
    // Waits until no write is in hand or waiting.
    void waitIdle();
    // Whether a write is due.
    bool due() const { return mDeadline.due().has_value(); }

    // Why the last write failed; empty when it worked (or none was needed).
    QString problem() const { return mProblem; }

signals:
    // The problem changed: a write failed for `reason`, or (empty) worked
    // again.
    void problemChanged(const QString& reason);
    // A write finished (tests wait for it).
    void written();

private:
    struct Job {
        UnsavedWork work;
        std::uint64_t generation = 0;
    };

    void writeDue();
    void schedule();
    void post(Job job);
    void run();
    void finished(std::uint64_t generation, const QString& error);
    void setProblem(const QString& reason);

    Recovery& mRecovery;
    Snapshot mSnapshot;
    WriteDeadline mDeadline{1000, 5000};
    QElapsedTimer mClock;
    QTimer* mTimer;
    QString mProblem;
    // Bumped when the work is forgotten: results of older writes are stale.
    std::uint64_t mGeneration = 0;
    // A recovery file may have been written since the last removal.
    bool mMayExist = false;

    // Shared with the writing thread.
    std::mutex mMutex;
    std::condition_variable mWake;
    std::optional<Job> mWaiting; // the next job; a newer one replaces it
    bool mBusy = false;          // a job is in hand (or keepNow() writes)
    bool mStop = false;
    std::thread mThread;
};

} // namespace bitloom
