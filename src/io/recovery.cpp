#include "recovery.h"

#include "codefile.h"
#include "statefolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QUrl>
#include <QUuid>

#include <algorithm>

namespace bitloom {

namespace {

constexpr char kMagic[] = "Bitloom recovery 1";
const QString kSuffix = QStringLiteral(".recovery");

QString lockPathOf(const QString& recoveryFile)
{
    QString path = recoveryFile;
    path.chop(kSuffix.size());
    return path + QStringLiteral(".lock");
}

// The file: a line that says what it is, "key: value" lines (values
// percent-encoded), an empty line, then the code text byte for byte.
std::string encode(const QString& originalPath, const std::string& currentName, const std::string& text)
{
    const auto field = [](const char* key, const QByteArray& value) {
        return std::string(key) + ": " + QUrl::toPercentEncoding(QString::fromUtf8(value)).toStdString()
               + '\n';
    };
    std::string out = std::string(kMagic) + '\n';
    out += field("file", originalPath.toUtf8());
    out += field("sprite", QByteArray::fromStdString(currentName));
    out += field("time", QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs).toUtf8());
    out += '\n';
    out += text;
    return out;
}

// Replaces the file atomically with `bytes`, readable by this user only.
QString writePrivately(const QString& path, const std::string& bytes)
{
    return replaceFileWhole(path, bytes, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

bool decode(const QByteArray& bytes, LeftWork& work)
{
    qsizetype at = 0;
    const auto nextLine = [&](QByteArray& line) {
        const qsizetype end = bytes.indexOf('\n', at);
        if (end < 0)
            return false;
        line = bytes.mid(at, end - at);
        at = end + 1;
        return true;
    };
    QByteArray line;
    if (!nextLine(line) || line != kMagic)
        return false;
    while (nextLine(line) && !line.isEmpty()) {
        const qsizetype colon = line.indexOf(": ");
        if (colon < 0)
            return false;
        const QByteArray key = line.left(colon);
        const QString value = QUrl::fromPercentEncoding(line.mid(colon + 2));
        if (key == "file")
            work.originalPath = value;
        else if (key == "sprite")
            work.currentName = value.toStdString();
        else if (key == "time")
            work.writtenAt = QDateTime::fromString(value, Qt::ISODateWithMs);
    }
    if (!line.isEmpty())
        return false; // no end of the header
    work.text = bytes.mid(at).toStdString();
    return true;
}

} // namespace

Recovery::Recovery(QString folder)
    : mFolder(std::move(folder)), mId(QUuid::createUuid().toString(QUuid::WithoutBraces))
{
}

Recovery::~Recovery() = default;

QString Recovery::defaultFolder()
{
    return stateFolder(QStandardPaths::AppDataLocation, QStringLiteral("recovery"));
}

QString Recovery::filePath() const
{
    return QDir(mFolder).filePath(mId + kSuffix);
}

bool Recovery::holdLock()
{
    if (mLock)
        return true;
    if (!makePrivateFolder(mFolder))
        return false;
    auto lock = std::make_unique<QLockFile>(lockPathOf(filePath()));
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return false;
    makePrivateFile(lock->fileName());
    mLock = std::move(lock);
    return true;
}

QString Recovery::write(const QString& originalPath, const std::string& currentName, const std::string& text)
{
    // The lock comes first: a recovery file without one looks abandoned.
    if (!holdLock())
        return QStringLiteral("The folder %1 cannot be written to.").arg(QDir::toNativeSeparators(mFolder));
    return writePrivately(filePath(), encode(originalPath, currentName, text));
}

void Recovery::discard()
{
    QFile::remove(filePath());
}

std::vector<LeftWork> Recovery::claimLeftWork() const
{
    std::vector<LeftWork> found;
    const QDir folder(mFolder);
    if (!folder.exists())
        return found;
    const QString own = filePath();
    for (const QFileInfo& info : folder.entryInfoList({QStringLiteral("*") + kSuffix}, QDir::Files)) {
        const QString path = info.absoluteFilePath();
        if (path == own)
            continue;
        auto claim = std::make_shared<QLockFile>(lockPathOf(path));
        claim->setStaleLockTime(0);
        if (!claim->tryLock(0))
            continue; // its Bitloom still runs, or another one offers it now
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        LeftWork work;
        if (!decode(file.readAll(), work))
            continue;
        work.recoveryFile = path;
        if (!work.writtenAt.isValid())
            work.writtenAt = info.lastModified();
        work.claim = std::move(claim);
        found.push_back(std::move(work));
    }
    std::sort(found.begin(), found.end(),
              [](const LeftWork& a, const LeftWork& b) { return a.writtenAt > b.writtenAt; });
    return found;
}

void Recovery::remove(LeftWork& work)
{
    QFile::remove(work.recoveryFile);
    work.claim.reset(); // removes the lock file too
}

} // namespace bitloom
