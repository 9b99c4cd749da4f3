#include "filelock.h"

#include "statefolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

namespace bitloom {

FileLock::FileLock() = default;

FileLock::~FileLock() = default;

QString FileLock::lockPathFor(const QString& path)
{
    // A file that does not exist yet has no canonical path: its folder does.
    const QFileInfo info(path);
    QString canonical = info.canonicalFilePath();
    if (canonical.isEmpty()) {
        const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
        canonical = QDir(folder.isEmpty() ? info.absolutePath() : folder).filePath(info.fileName());
    }
    const QByteArray key = QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha1).toHex();
    return QDir(stateFolder(QStandardPaths::RuntimeLocation, QStringLiteral("locks")))
        .filePath(QString::fromLatin1(key) + QStringLiteral(".lock"));
}

bool FileLock::lock(const QString& path)
{
    const QString lockPath = lockPathFor(path);
    if (mLock && lockPath == mFor)
        return true;
    release();
    QDir().mkpath(QFileInfo(lockPath).absolutePath());
    auto lock = std::make_unique<QLockFile>(lockPath);
    // Only a dead owner makes a lock stale, however long a Bitloom runs.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        // Another Bitloom has it; a folder we cannot write to says nothing.
        return lock->error() != QLockFile::LockFailedError;
    }
    mLock = std::move(lock);
    mFor = lockPath;
    return true;
}

void FileLock::release()
{
    mLock.reset();
    mFor.clear();
}

} // namespace bitloom
