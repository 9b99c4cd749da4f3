#include "pngfile.h"

#include "codegen/tilenames.h"

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

// Opens `file` for writing; an empty string or the reason it failed.
QString openForWriting(QSaveFile& file)
{
    if (file.open(QIODevice::WriteOnly))
        return {};
    return PngIo::tr("\"%1\" cannot be written: %2").arg(displayName(file.fileName()), file.errorString());
}

// Writes `image` into the open `file` as PNG; an empty string or a message.
QString writePng(const QImage& image, QSaveFile& file)
{
    QImageWriter writer(&file, "png");
    if (writer.write(image))
        return {};
    return PngIo::tr("\"%1\" cannot be written: %2").arg(displayName(file.fileName()), writer.errorString());
}

QString commit(QSaveFile& file)
{
    if (file.commit())
        return {};
    return PngIo::tr("\"%1\" cannot be saved: %2").arg(displayName(file.fileName()), file.errorString());
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

} // namespace

QString sheetIndexPath(const QString& sheetPath)
{
    const QFileInfo info(sheetPath);
    // A sheet that is itself named "*.txt" keeps its pixels.
    if (info.suffix().compare(QLatin1String("txt"), Qt::CaseInsensitive) == 0)
        return sheetPath + QStringLiteral(".txt");
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".txt"));
}

QString savePng(const QImage& image, const QString& path)
{
    QSaveFile file(path);
    QString error = openForWriting(file);
    if (error.isEmpty())
        error = writePng(image, file);
    if (error.isEmpty())
        return commit(file);
    file.cancelWriting();
    return error;
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

    QSaveFile sheet(path);
    QSaveFile index(sheetIndexPath(path));
    QString error = openForWriting(sheet);
    if (error.isEmpty())
        error = writePng(sheetImage(codes), sheet);
    if (error.isEmpty())
        error = openForWriting(index);
    if (error.isEmpty()) {
        const std::string text = sheetIndexText(names);
        if (index.write(text.data(), qint64(text.size())) != qint64(text.size()))
            error = PngIo::tr("\"%1\" cannot be written: %2")
                        .arg(displayName(index.fileName()), index.errorString());
    }
    if (error.isEmpty())
        error = commit(sheet);
    if (error.isEmpty())
        return commit(index);
    sheet.cancelWriting();
    index.cancelWriting();
    return error;
}

QString importRefusalText(const ImportRefusal& refusal, const QString& path)
{
    return refusalText(refusal, displayName(path));
}

TileImport importTiles(const QString& path)
{
    const QString file = displayName(path);
    QImageReader reader(path);
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

    const QByteArray base = QFileInfo(path).completeBaseName().toUtf8();
    const std::string stem = tileStem(std::string_view(base.constData(), std::size_t(base.size())));
    TileImport import{cutTiles(pixels, image.width(), image.height(), stem), {}};
    import.refusal = nameTilesFromIndex(import.tiles, path);
    if (!import.refusal.isEmpty())
        import.tiles.clear();
    return import;
}

QString pngFileFilter()
{
    return PngIo::tr("PNG images (*.png)");
}

} // namespace bitloom
