#pragma once

#include <QDateTime>
#include <QLockFile>
#include <QString>

#include <memory>
#include <string>
#include <vector>

namespace bitloom {

// Work that a Bitloom left behind when it ended without saving.
struct LeftWork {
    QString recoveryFile;
    QString originalPath; // the file the work belongs to, or empty
    std::string currentName;
    QDateTime writtenAt;
    std::string text;
    // Held while the work is being offered, so that no other Bitloom
    // offers it at the same time.
    std::shared_ptr<QLockFile> claim;
};

// Unsaved work kept on disk until it is saved or discarded, so that it
// survives a crash, a kill or a logout. Each running Bitloom writes one
// recovery file of its own, named after a fresh id, and holds a lock file
// beside it for as long as it runs: a recovery file whose lock nobody holds
// was left by a run that is no longer alive.
class Recovery {
public:
    // Keeps its files in `folder` (created when first needed).
    explicit Recovery(QString folder = defaultFolder());
    ~Recovery(); // lets go of the lock; the recovery file stays
    Recovery(const Recovery&) = delete;
    Recovery& operator=(const Recovery&) = delete;

    // Under the application data folder, or BITLOOM_STATE_DIR.
    static QString defaultFolder();
    QString folder() const { return mFolder; }
    // This instance's recovery file.
    QString filePath() const;

    // Replaces this instance's recovery file, atomically, with the work.
    // Returns the system's reason for a failure, or an empty text.
    QString write(const QString& originalPath, const std::string& currentName, const std::string& text);
    // Removes this instance's recovery file: the work was saved or
    // discarded.
    void discard();

    // The work left by runs that are no longer alive, newest first, each
    // claimed by this instance until its LeftWork is dropped. Work of a live
    // Bitloom is never among it. Unreadable files are left alone.
    std::vector<LeftWork> claimLeftWork() const;
    // Removes left work for good (recovered or discarded).
    static void remove(LeftWork& work);

private:
    bool holdLock();

    QString mFolder;
    QString mId;
    std::unique_ptr<QLockFile> mLock;
};

} // namespace bitloom
