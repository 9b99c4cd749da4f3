#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

namespace bitloom {

// Tells other Bitlooms that this one has a file open. Every instance that
// has the file open holds a lock file of its own in the runtime folder,
// named after the file's canonical path and the instance, for as long as
// the file is open: so a third Bitloom is told about the second one even
// after the first has ended. Lock files of instances that died are cleared
// away when found.
class FileLock {
public:
    FileLock();
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Lets go of the lock held and takes this instance's lock for `path`.
    // Returns false when another live Bitloom has `path` open too (its lock
    // is taken all the same). A folder that cannot be written to holds no
    // lock and says nothing.
    bool lock(const QString& path);
    void release();
    // Whether a lock is held, and for which file's lock name.
    bool held() const { return mLock != nullptr; }

    // The name shared by every lock for `path`; each instance's lock file
    // is this name, a dot, the instance's id and ".lock".
    static QString lockNameFor(const QString& path);
    // The folder the lock files are in.
    static QString folder();

private:
    // Whether a live instance other than this one holds a lock named `name`.
    bool othersHold(const QString& name) const;

    QString mId; // this instance
    std::unique_ptr<QLockFile> mLock;
    QString mName; // the lock name held, or empty
};

} // namespace bitloom
