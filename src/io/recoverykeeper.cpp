#include "recoverykeeper.h"

#include "recovery.h"

#include <QTimer>

#include <algorithm>

namespace bitloom {

std::int64_t WriteDeadline::changed(std::int64_t now)
{
    if (!mDue) {
        std::int64_t at = now + mFirstDelay;
        if (mLastWrite)
            at = std::max(at, *mLastWrite + mInterval);
        mDue = at;
    }
    return *mDue;
}

void WriteDeadline::wrote(std::int64_t now)
{
    mDue.reset();
    mLastWrite = now;
}

void WriteDeadline::clear()
{
    mDue.reset();
    mLastWrite.reset();
}

RecoveryKeeper::RecoveryKeeper(Recovery& recovery, Snapshot snapshot, QObject* parent)
    : QObject(parent), mRecovery(recovery), mSnapshot(std::move(snapshot)), mTimer(new QTimer(this))
{
    mClock.start();
    mTimer->setSingleShot(true);
    connect(mTimer, &QTimer::timeout, this, &RecoveryKeeper::writeDue);
}

RecoveryKeeper::~RecoveryKeeper()
{
    {
        const std::lock_guard lock(mMutex);
        mStop = true;
    }
    mWake.notify_all();
    if (mThread.joinable())
        mThread.join();
}

void RecoveryKeeper::setTimes(int firstDelay, int interval)
{
    mDeadline = WriteDeadline(firstDelay, interval);
    mTimer->stop();
}

void RecoveryKeeper::changed()
{
    mDeadline.changed(mClock.elapsed());
    schedule();
}

void RecoveryKeeper::schedule()
{
    const auto due = mDeadline.due();
    if (!due) {
        mTimer->stop();
        return;
    }
    const int wait = int(std::clamp<std::int64_t>(*due - mClock.elapsed(), 0, 60'000));
    // A timer already running for this deadline stays as it is.
    if (!mTimer->isActive() || mTimer->remainingTime() > wait)
        mTimer->start(wait);
}

void RecoveryKeeper::writeDue()
{
    if (!mDeadline.due())
        return;
    if (*mDeadline.due() > mClock.elapsed()) {
        schedule(); // the timer's clock ran a little ahead
        return;
    }
    mDeadline.wrote(mClock.elapsed());
    std::optional<UnsavedWork> work = mSnapshot();
    if (!work) {
        forget();
        return;
    }
    mMayExist = true;
    post({std::move(*work), mGeneration});
}

void RecoveryKeeper::forget()
{
    mDeadline.clear();
    mTimer->stop();
    ++mGeneration;
    if (mMayExist) {
        // Gone once this returns: a write in hand is waited for, one waiting
        // is dropped. Removing a file costs next to nothing.
        std::unique_lock lock(mMutex);
        mWaiting.reset();
        mWake.wait(lock, [this] { return !mBusy; });
        lock.unlock();
        mRecovery.discard();
        mMayExist = false;
    }
    // Nothing unsaved: nothing that could be lost.
    setProblem({});
}

QString RecoveryKeeper::keepNow()
{
    mTimer->stop();
    std::optional<UnsavedWork> work = mSnapshot();
    std::unique_lock lock(mMutex);
    mWaiting.reset(); // older than what is written here
    mWake.wait(lock, [this] { return !mBusy; });
    if (!work) {
        lock.unlock();
        mRecovery.discard();
        mMayExist = false;
        mDeadline.clear();
        setProblem({});
        return {};
    }
    mMayExist = true;
    mBusy = true;
    lock.unlock();
    const QString error = mRecovery.write(work->originalPath, work->currentName, work->text);
    lock.lock();
    mBusy = false;
    lock.unlock();
    mWake.notify_all();
    mDeadline.wrote(mClock.elapsed());
    setProblem(error);
    return error;
}

void RecoveryKeeper::waitIdle()
{
    std::unique_lock lock(mMutex);
    mWake.wait(lock, [this] { return !mBusy && !mWaiting; });
}

void RecoveryKeeper::post(Job job)
{
    {
        const std::lock_guard lock(mMutex);
        mWaiting = std::move(job);
        if (!mThread.joinable())
            mThread = std::thread([this] { run(); });
    }
    mWake.notify_all();
}

void RecoveryKeeper::run()
{
    std::unique_lock lock(mMutex);
    for (;;) {
        mWake.wait(lock, [this] { return mStop || (mWaiting && !mBusy); });
        // A write still waiting is done before stopping: it holds newer work
        // than the file does.
        if (!mWaiting || mBusy)
            return;
        Job job = std::move(*mWaiting);
        mWaiting.reset();
        mBusy = true;
        lock.unlock();
        const QString error = mRecovery.write(job.work.originalPath, job.work.currentName, job.work.text);
        job.work = {}; // the text's memory goes here, not on the window's thread
        // Back on the window's thread; dropped if the keeper is gone by then.
        QMetaObject::invokeMethod(
            this, [this, generation = job.generation, error] { finished(generation, error); },
            Qt::QueuedConnection);
        lock.lock();
        mBusy = false;
        mWake.notify_all();
    }
}

void RecoveryKeeper::finished(std::uint64_t generation, const QString& error)
{
    if (generation != mGeneration)
        return; // the work was forgotten since
    setProblem(error);
    emit written();
}

void RecoveryKeeper::setProblem(const QString& reason)
{
    if (reason == mProblem)
        return;
    mProblem = reason;
    emit problemChanged(reason);
}

} // namespace bitloom
