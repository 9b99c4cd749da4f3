#include "filewatch.h"

#include "codegen/reader.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

namespace bitloom {

FileWatch::FileWatch(QObject* parent) : QObject(parent)
{
    mSettle.setSingleShot(true);
    mSettle.setInterval(100);
    connect(&mSettle, &QTimer::timeout, this, &FileWatch::look);
    connect(&mWatcher, &QFileSystemWatcher::fileChanged, this, [this] { mSettle.start(); });
    connect(&mWatcher, &QFileSystemWatcher::directoryChanged, this, [this] { mSettle.start(); });
}

QByteArray FileWatch::hashOf(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1);
}

FileWatch::Stamp FileWatch::stampOf(const QString& path, const QByteArray* knownBytes)
{
    const QFileInfo info(path);
    Stamp stamp;
    stamp.exists = info.exists();
    if (!stamp.exists)
        return stamp;
    stamp.size = info.size();
    stamp.modified = info.lastModified();
    if (knownBytes) {
        stamp.hash = hashOf(*knownBytes);
    } else {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            stamp.hash = hashOf(file.read(qint64(kMaxCodeTextBytes) + 1));
    }
    return stamp;
}

void FileWatch::watch(const QString& path, const std::string& bytes)
{
    const QByteArray known = QByteArray::fromRawData(bytes.data(), qsizetype(bytes.size()));
    mPath = path;
    mKnown = stampOf(path, &known);
    // What was read or written is what counts, even when the file already
    // says otherwise (another program was quicker).
    mKnown.size = qint64(bytes.size());
    mReported = {};
    mReportedAny = false;
    arm();
}

void FileWatch::watchMissing(const QString& path)
{
    mPath = path;
    mKnown = {};
    mReported = {};
    mReportedAny = false;
    arm();
}

void FileWatch::stop()
{
    mSettle.stop();
    if (!mWatcher.files().isEmpty())
        mWatcher.removePaths(mWatcher.files());
    if (!mWatcher.directories().isEmpty())
        mWatcher.removePaths(mWatcher.directories());
    mPath.clear();
    mKnown = {};
    mReported = {};
    mReportedAny = false;
}

void FileWatch::arm()
{
    if (mPath.isEmpty())
        return;
    const QFileInfo info(mPath);
    const QString folder = info.absolutePath();
    if (!mWatcher.directories().contains(folder)) {
        if (!mWatcher.directories().isEmpty())
            mWatcher.removePaths(mWatcher.directories());
        if (QFileInfo(folder).isDir())
            mWatcher.addPath(folder);
    }
    const bool watched = mWatcher.files().contains(mPath);
    if (!watched && !mWatcher.files().isEmpty())
        mWatcher.removePaths(mWatcher.files());
    // A replaced file is a new file: the old watch followed the old one.
    if (watched)
        mWatcher.removePath(mPath);
    if (info.exists())
        mWatcher.addPath(mPath);
}

bool FileWatch::changedOnDisk() const
{
    if (mPath.isEmpty())
        return false;
    const QFileInfo info(mPath);
    if (info.exists() != mKnown.exists)
        return true;
    if (!mKnown.exists)
        return false;
    if (info.size() != mKnown.size)
        return true;
    // Rewritten with the same size: the bytes decide. The modification time
    // cannot: two writes within one tick of the file system's clock (a save
    // and a checkout right after it) leave the same time.
    return stampOf(mPath, nullptr).hash != mKnown.hash;
}

void FileWatch::look()
{
    if (mPath.isEmpty())
        return;
    arm();
    if (!changedOnDisk()) {
        mReported = {};
        mReportedAny = false;
        return;
    }
    // Each state of the file is reported once, however many events it took;
    // its bytes tell one state from another.
    const Stamp now = stampOf(mPath, nullptr);
    if (mReportedAny && now.exists == mReported.exists && now.size == mReported.size
        && now.hash == mReported.hash)
        return;
    mReported = now;
    mReportedAny = true;
    if (now.exists)
        emit fileChanged();
    else
        emit fileRemoved();
}

} // namespace bitloom
