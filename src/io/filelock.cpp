#include "filelock.h"

#include "statefolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QUuid>

namespace bitloom {

FileLock::FileLock() : mId(QUuid::createUuid().toString(QUuid::Id128)) {}

FileLock::~FileLock() = default;

QString FileLock::folder()
{
    return stateFolder(QStandardPaths::RuntimeLocation, QStringLiteral("locks"));
}

QString FileLock::lockNameFor(const QString& path)
{
    // A file that does not exist yet has no canonical path: its folder does.
    const QFileInfo info(path);
    QString canonical = info.canonicalFilePath();
    if (canonical.isEmpty()) {
        const QString parent = QFileInfo(info.absolutePath()).canonicalFilePath();
        canonical = QDir(parent.isEmpty() ? info.absolutePath() : parent).filePath(info.fileName());
    }
    return QString::fromLatin1(
        QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha1).toHex());
}

bool FileLock::othersHold(const QString& name) const
{
    const QDir locks(folder());
    const QString own = mLock ? mLock->fileName() : QString();
    bool held = false;
    for (const QFileInfo& info : locks.entryInfoList({name + QStringLiteral(".*.lock")}, QDir::Files)) {
        const QString path = info.absoluteFilePath();
        if (path == own)
            continue;
        QLockFile other(path);
        other.setStaleLockTime(0);
        if (other.tryLock(0)) {
            other.unlock(); // its instance died: the lock file goes
            continue;
        }
        if (other.error() == QLockFile::LockFailedError)
            held = true; // keep going: the dead ones further on are cleared too
    }
    return held;
}

bool FileLock::lock(const QString& path)
{
    const QString name = lockNameFor(path);
    if (mLock && name == mName)
        return !othersHold(name);
    release();
    if (!makePrivateFolder(folder()))
        return true;
    auto lock =
        std::make_unique<QLockFile>(QDir(folder()).filePath(name + u'.' + mId + QStringLiteral(".lock")));
    // Only a dead owner makes a lock stale, however long a Bitloom runs.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        makePrivateFile(lock->fileName());
        mLock = std::move(lock);
        mName = name;
    }
    return !othersHold(name);
}

void FileLock::release()
{
    mLock.reset();
    mName.clear();
}

} // namespace bitloom
