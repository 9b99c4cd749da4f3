#include "statefolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

namespace bitloom {

QString stateFolder(QStandardPaths::StandardLocation standard, const QString& kind)
{
    const QString overridden = qEnvironmentVariable("BITLOOM_STATE_DIR");
    if (!overridden.isEmpty())
        return QDir(overridden).filePath(kind);
    QString base = QStandardPaths::writableLocation(standard);
    if (base.isEmpty())
        base = QDir::temp().filePath(QStringLiteral("bitloom"));
    else if (standard == QStandardPaths::RuntimeLocation)
        base = QDir(base).filePath(QStringLiteral("bitloom"));
    return QDir(base).filePath(kind);
}

bool makePrivateFolder(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const QString parent = QFileInfo(absolute).absolutePath();
    if (parent != absolute && !QFileInfo(parent).isDir() && !makePrivateFolder(parent))
        return false;
    const QByteArray native = QFile::encodeName(absolute);
    if (::mkdir(native.constData(), 0700) == 0)
        return true; // made 0700 whatever the umask takes away
    struct stat status {};
    if (::stat(native.constData(), &status) != 0 || !S_ISDIR(status.st_mode))
        return false;
    // A folder made by an earlier version under a permissive umask is
    // closed now; one that belongs to someone else is left alone.
    if (status.st_uid == ::geteuid() && (status.st_mode & 077) != 0)
        ::chmod(native.constData(), status.st_mode & ~mode_t(077));
    return true;
}

void makePrivateFile(const QString& path)
{
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

} // namespace bitloom
