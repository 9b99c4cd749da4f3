#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

namespace bitloom {

// Tells other Bitlooms that this one has a file open: a lock file in the
// runtime folder, named after the file's canonical path, held while the file
// is open. The lock of an instance that died is taken over.
class FileLock {
public:
    FileLock();
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Lets go of the lock held and takes the one for `path`. Returns false
    // when another live Bitloom holds it; then nothing is held.
    bool lock(const QString& path);
    void release();

    // The lock file that stands for `path`.
    static QString lockPathFor(const QString& path);

private:
    std::unique_ptr<QLockFile> mLock;
    QString mFor; // the lock file held, or empty
};

} // namespace bitloom
