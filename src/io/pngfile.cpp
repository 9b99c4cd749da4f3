#include "pngfile.h"

#include "codefile.h"

#include "codegen/tilenames.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

namespace bitloom {

namespace {

struct PngIo {
    Q_DECLARE_TR_FUNCTIONS(PngIo)
};

QString displayName(const QString& path)
{
    return QDir::toNativeSeparators(QFileInfo(path).fileName());
}

QString cannotWrite(const QString& path, const QString& reason)
{
    return PngIo::tr("\"%1\" cannot be written: %2").arg(displayName(path), reason);
}

// The PNG bytes of `image`; an empty `error` when it could be encoded.
QByteArray encodePng(const QImage& image, QString& error)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image))
        error = writer.errorString();
    return bytes;
}

// Opens `file` unbuffered and writes `bytes` whole, so that a write that
// stops short (a full disk, a file size limit) is seen here and not only
// inside commit(). An empty string or a message.
QString writeWhole(QSaveFile& file, const QByteArray& bytes)
{
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return cannotWrite(file.fileName(), file.errorString());
    for (qint64 at = 0; at < bytes.size();) {
        const qint64 written = file.write(bytes.constData() + at, bytes.size() - at);
        if (written <= 0)
            return cannotWrite(file.fileName(), file.errorString());
        at += written;
    }
    return {};
}

QString commit(QSaveFile& file)
{
    if (file.commit())
        return {};
    return PngIo::tr("\"%1\" cannot be saved: %2").arg(displayName(file.fileName()), file.errorString());
}

// The file a chain of symbolic links ends at (itself when it is none): what
// is written, and where its index goes.
QString resolvedPath(const QString& path)
{
    QString resolved = path;
    // A bound, for links that lead round in a circle.
    for (int hop = 0; hop < 40 && QFileInfo(resolved).isSymLink(); ++hop)
        resolved = QFileInfo(resolved).symLinkTarget();
    return resolved;
}

// Far more than the longest index a sheet of kMaxSheetTiles tiles needs
// under names of any sensible length.
constexpr qint64 kMaxIndexBytes = 16 * 1024 * 1024;

// Names the tiles from the index beside the image at `path`, when there is
// one. An empty string, or why the index could not be read.
QString nameTilesFromIndex(std::vector<Tile>& tiles, const QString& path)
{
    QFile index(sheetIndexPath(path));
    if (!index.exists())
        return {};
    if (!index.open(QIODevice::ReadOnly))
        return PngIo::tr("The index \"%1\" beside the image cannot be read: %2. Nothing was imported.")
            .arg(displayName(index.fileName()), index.errorString());
    if (index.size() > kMaxIndexBytes)
        return PngIo::tr("The index \"%1\" beside the image is larger than %2 MB. Nothing was imported.")
            .arg(displayName(index.fileName()))
            .arg(kMaxIndexBytes / (1024 * 1024));
    const QByteArray text = index.read(kMaxIndexBytes + 1);
    nameTiles(tiles, parseSheetIndex(std::string_view(text.constData(), std::size_t(text.size()))));
    return {};
}

QString refusalText(const ImportRefusal& refusal, const QString& file)
{
    using Reason = ImportRefusal::Reason;
    switch (refusal.reason) {
    case Reason::Empty: return PngIo::tr("\"%1\" holds no pixels. Nothing was imported.").arg(file);
    case Reason::TooLarge:
        return PngIo::tr("\"%1\" is %2 x %3 pixels; images larger than %4 x %4 pixels are not "
                         "imported. Nothing was imported.")
            .arg(file)
            .arg(refusal.width)
            .arg(refusal.height)
            .arg(kMaxImportSide);
    case Reason::NotTileAligned:
        return PngIo::tr("\"%1\" is %2 x %3 pixels; its width and height must be multiples of "
                         "%4. Nothing was imported.")
            .arg(file)
            .arg(refusal.width)
            .arg(refusal.height)
            .arg(kTileSide);
    case Reason::NoRoom:
        if (refusal.newNames == refusal.tiles)
            return PngIo::tr("\"%1\" holds %2 tiles, but only %3 sprite entries are free. "
                             "Nothing was imported.")
                .arg(file)
                .arg(refusal.tiles)
                .arg(refusal.freeEntries);
        return PngIo::tr("\"%1\" holds %2 tiles, %3 of them under new names, but only %4 "
                         "sprite entries are free. Nothing was imported.")
            .arg(file)
            .arg(refusal.tiles)
            .arg(refusal.newNames)
            .arg(refusal.freeEntries);
    }
    return {};
}

// The tiles of the image `reader` reads, named after `baseName`; `file`
// names the image in messages.
TileImport readTiles(QImageReader& reader, const QString& file, std::string_view baseName)
{
    // The size in the file's header refuses a huge image before its pixels
    // are decoded; the decoded size is checked again below.
    if (const QSize header = reader.size(); header.isValid()) {
        if (auto refusal = sizeRefusal(header.width(), header.height()))
            return {{}, refusalText(*refusal, file)};
    }
    const QImage read = reader.read();
    if (read.isNull())
        return {{}, PngIo::tr("\"%1\" cannot be read: %2").arg(file, reader.errorString())};
    if (auto refusal = sizeRefusal(read.width(), read.height()))
        return {{}, refusalText(*refusal, file)};

    // Straight (not premultiplied) 8-bit channels.
    const QImage image = read.convertToFormat(QImage::Format_RGBA8888);
    std::vector<Rgba> pixels(std::size_t(image.width()) * std::size_t(image.height()));
    for (int y = 0; y < image.height(); ++y) {
        const uchar* line = image.constScanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            const uchar* p = line + 4 * x;
            pixels[std::size_t(y) * std::size_t(image.width()) + std::size_t(x)] =
                Rgba{p[0], p[1], p[2], p[3]};
        }
    }
    TileImport import{cutTiles(pixels, image.width(), image.height(), tileStem(baseName)), {}};
    import.notGrey = pixelsNotGrey(pixels, image.width(), int(import.tiles.size()));
    return import;
}

} // namespace

QString sheetIndexPath(const QString& sheetPath)
{
    const QFileInfo info(resolvedPath(sheetPath));
    // A sheet that is itself named "*.txt" keeps its pixels.
    if (info.suffix().compare(QLatin1String("txt"), Qt::CaseInsensitive) == 0)
        return info.filePath() + QStringLiteral(".txt");
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".txt"));
}

bool isStreamFile(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isFile() && !info.isDir();
}

QString savePng(const QImage& image, const QString& path)
{
    QString error;
    const QByteArray bytes = encodePng(image, error);
    if (!error.isEmpty())
        return cannotWrite(path, error);
    // Writes into a pipe or a device as such, replaces a file only whole.
    error = writeCodeFile(path, bytes.toStdString());
    return error.isEmpty() ? QString() : cannotWrite(path, error);
}

QString saveSpritePng(const Shades& codes, int scale, const QString& path)
{
    return savePng(spriteImage(codes, scale), path);
}

QString saveSheetPng(const std::vector<std::string>& names, const std::vector<Shades>& codes,
                     const QString& path)
{
    if (names.empty() || names.size() != codes.size())
        return PngIo::tr("There are no named sprites to export.");
    const QImage image = sheetImage(codes);
    // A pipe or a device takes the image alone: nothing is put beside it.
    if (isStreamFile(path))
        return savePng(image, path);

    QString error;
    const QByteArray png = encodePng(image, error);
    if (!error.isEmpty())
        return cannotWrite(path, error);
    const std::string text = sheetIndexText(names);
    const QString indexPath = sheetIndexPath(path);
    if (QFileInfo(indexPath).isDir() || isStreamFile(indexPath))
        return cannotWrite(indexPath, PngIo::tr("it is not a regular file."));

    // Both files are written whole before either replaces an old one.
    QSaveFile sheet(resolvedPath(path));
    QSaveFile index(indexPath);
    error = writeWhole(sheet, png);
    if (error.isEmpty())
        error = writeWhole(index, QByteArray(text.data(), qsizetype(text.size())));
    if (error.isEmpty())
        error = commit(sheet);
    if (error.isEmpty())
        return commit(index);
    sheet.cancelWriting();
    index.cancelWriting();
    return error;
}

QString notGreyText(int pixels)
{
    return pixels == 1
               ? PngIo::tr("1 pixel was not one of the four greys and took the nearest one.")
               : PngIo::tr("%1 pixels were not one of the four greys and took the nearest one.").arg(pixels);
}

QString importRefusalText(const ImportRefusal& refusal, const QString& path)
{
    return refusalText(refusal, displayName(path));
}

TileImport importTiles(const QString& path)
{
    QImageReader reader(path);
    const QByteArray base = QFileInfo(path).completeBaseName().toUtf8();
    TileImport import =
        readTiles(reader, displayName(path), std::string_view(base.constData(), std::size_t(base.size())));
    if (import.refusal.isEmpty())
        import.refusal = nameTilesFromIndex(import.tiles, path);
    if (!import.refusal.isEmpty())
        import.tiles.clear();
    return import;
}

TileImport importTileBytes(const QByteArray& bytes, const QString& shownName)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    return readTiles(reader, shownName, "tile");
}

QString pngFileFilter()
{
    return PngIo::tr("PNG images (*.png)");
}

} // namespace bitloom
