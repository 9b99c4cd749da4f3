#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

#include <string>

namespace bitloom {

// Watches the file the document belongs to for changes made by other
// programs. It remembers the file as Bitloom last read or wrote it (size,
// modification time and a hash of the bytes) and reports only when the file
// on disk no longer matches that: Bitloom's own saves stay silent.
//
// Both the file and its folder are watched. Git and editors replace a file
// by renaming a new one over it; the watch on the old file then ends, and
// the folder's watch sees the new one, after which the file is watched again.
class FileWatch : public QObject {
    Q_OBJECT
public:
    explicit FileWatch(QObject* parent = nullptr);

    // Watches `path` and remembers it as holding `bytes` now (just read or
    // just written).
    void watch(const QString& path, const std::string& bytes);
    // Watches `path`, which does not exist yet: its appearance is a change.
    void watchMissing(const QString& path);
    // Stops watching: the document belongs to no file.
    void stop();

    QString path() const { return mPath; }
    // Whether the file on disk differs from what Bitloom last read or wrote:
    // changed, replaced, created or deleted.
    bool changedOnDisk() const;

    // How long the watch waits for a burst of changes to settle before it
    // looks (git and editors write in several steps).
    void setSettleTime(int milliseconds) { mSettle.setInterval(milliseconds); }

signals:
    // The file now holds something other than what Bitloom last saw.
    void fileChanged();
    // The file is gone.
    void fileRemoved();

private:
    struct Stamp {
        bool exists = false;
        qint64 size = 0;
        QDateTime modified;
        QByteArray hash;
    };
    static Stamp stampOf(const QString& path, const QByteArray* knownBytes);
    static QByteArray hashOf(const QByteArray& bytes);
    void arm();
    void look();

    QFileSystemWatcher mWatcher;
    QTimer mSettle;
    QString mPath;
    Stamp mKnown;              // as Bitloom last read or wrote it
    Stamp mReported;           // the file's state last reported
    bool mReportedAny = false; // whether mReported holds one
};

} // namespace bitloom
