#include "codefile.h"

#include "codegen/reader.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace bitloom {

namespace {
QString tr(const char* text)
{
    return QCoreApplication::translate("CodeFile", text);
}
} // namespace

CodeFileRead readCodeFile(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return {{}, tr("It is a folder, not a file.")};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, file.errorString()};
    // One byte more than allowed tells a file that is too large, also where
    // the size is not known in advance.
    const QByteArray bytes = file.read(qint64(kMaxCodeTextBytes) + 1);
    if (file.error() != QFileDevice::NoError)
        return {{}, file.errorString()};
    if (bytes.size() > qsizetype(kMaxCodeTextBytes))
        return {{}, codeTextRefusalText(CodeTextRefusal::TooLarge)};
    return {bytes.toStdString(), {}};
}

QString codeTextRefusalText(CodeTextRefusal refusal)
{
    switch (refusal) {
    case CodeTextRefusal::TooLarge: return tr("The file is larger than 4 MiB.");
    case CodeTextRefusal::NulByte: return tr("The file holds NUL bytes: it is not a text file.");
    case CodeTextRefusal::NotUtf8: return tr("The file is not valid UTF-8 text.");
    }
    return {};
}

QString replaceFileWhole(const QString& path, const std::string& bytes, QFileDevice::Permissions permissions)
{
    // Unbuffered: a write that stops short (a full disk, a file size limit)
    // is seen here. Left to the buffer it would surface only inside commit(),
    // which would then put the cut-off file in place of the old one.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    if (permissions)
        file.setPermissions(permissions);
    for (qint64 at = 0; at < qint64(bytes.size());) {
        const qint64 written = file.write(bytes.data() + at, qint64(bytes.size()) - at);
        if (written <= 0) {
            const QString reason = file.errorString();
            file.cancelWriting();
            return reason;
        }
        at += written;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

QString writeCodeFile(const QString& path, const std::string& bytes)
{
    const QFileInfo info(path);
    if (info.isDir())
        return tr("A folder of that name is in the way.");
    if (info.exists() && !info.isFile()) {
        // A device or a pipe cannot be replaced by renaming a new file over
        // it (and must not be): write to it directly.
        QFile device(path);
        if (!device.open(QIODevice::WriteOnly))
            return device.errorString();
        if (device.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()) || !device.flush())
            return device.errorString();
        return {};
    }
    return replaceFileWhole(path, bytes);
}

} // namespace bitloom
