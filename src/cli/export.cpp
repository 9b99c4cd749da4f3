#include "commands.h"
#include "io.h"

#include "codegen/reader.h"
#include "codegen/tilearrays.h"
#include "io/exportscales.h"
#include "io/pngfile.h"
#include "model/spritetable.h"

#include <QBuffer>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QImageWriter>

#include <algorithm>
#include <optional>

namespace bitloom::cli {

namespace {

struct Export {
    Q_DECLARE_TR_FUNCTIONS(Export)
};

// Writes `image` as PNG to standard output; an empty text or a message.
QString printPng(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image))
        return writer.errorString();
    return writeOutput(QStringLiteral("-"), std::string_view(bytes.constData(), std::size_t(bytes.size())));
}

} // namespace

QString exportHelp()
{
    return Export::tr("Usage: bitloom export FILE -o OUT.png [--sprite NAME] [--scale 1|2|4|8]\n"
                      "                     [--layout ID|NAME=ID[:WIDTH]]...\n"
                      "Writes the sprites of the C file FILE as a PNG sheet, 16 tiles to a row, with\n"
                      "its index (\"index name\" per line) beside it in OUT.txt, as Export Sheet\n"
                      "does: the pair sprites, then every tile of the byte arrays that hold tiles,\n"
                      "named NAME[i]. With --sprite, the one sprite NAME (a tile too, such as\n"
                      "\"ufo[0]\"), as Export Sprite does. \"-\" as FILE reads standard input; as\n"
                      "OUT.png it writes the PNG alone to standard output, and so does a pipe or a\n"
                      "device, whatever its name. A file must be named .png and must not be FILE;\n"
                      "it is replaced only once it is whole.\n"
                      "\n"
                      "  -o, --output OUT.png  The image to write.\n"
                      "  --sprite NAME         The sprite to write alone.\n"
                      "  --scale N             Cell size in pixels of the one sprite: 1, 2, 4 or 8.\n"
                      "  --layout ID           Reads byte arrays in the layout ID, as show does.\n"
                      "  -h, --help            Shows this help.\n");
}

int runExport(const QStringList& arguments)
{
    const QString command = QStringLiteral("export");
    QCommandLineParser parser;
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    Export::tr("The image to write."), QStringLiteral("OUT.png"));
    const QCommandLineOption sprite(QStringLiteral("sprite"), Export::tr("The sprite to write alone."),
                                    QStringLiteral("NAME"));
    const QCommandLineOption scale(QStringLiteral("scale"), Export::tr("Cell size of the one sprite."),
                                   QStringLiteral("N"));
    const QCommandLineOption layout = layoutOption();
    parser.addOptions({output, sprite, scale, layout});
    if (const auto stop = parseCommand(parser, command, arguments, exportHelp()))
        return *stop;
    LayoutChooser chooser;
    if (const auto stop = layoutChooser(parser, layout, command, chooser))
        return *stop;
    const QStringList files = parser.positionalArguments();
    if (files.size() != 1)
        return usageError(command, Export::tr("give one C file"));
    if (!parser.isSet(output))
        return usageError(command, Export::tr("-o OUT.png is missing"));
    const QString path = files.first();
    const QString out = parser.value(output);
    // Standard output, a pipe or a device takes PNG whatever its name; a
    // file is named for what it holds. Nothing but a file is ever replaced.
    const bool stream = isStandardStream(out) || isStreamFile(out);
    if (!isStandardStream(path) && !isStandardStream(out) && sameFile(path, out))
        return usageError(command, Export::tr("the output \"%1\" is the input file").arg(out));
    // Through a link, the name of the file it leads to counts.
    const QString named = QFileInfo::exists(out) ? QFileInfo(out).canonicalFilePath() : out;
    if (!stream && !named.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        return usageError(command, Export::tr("export writes PNG; name the file .png"));

    int factor = 1;
    if (parser.isSet(scale)) {
        if (!parser.isSet(sprite))
            return usageError(command, Export::tr("--scale applies to one sprite, with --sprite"));
        bool number = false;
        factor = parser.value(scale).toInt(&number);
        if (!number || std::find(kExportScales.begin(), kExportScales.end(), factor) == kExportScales.end())
            return usageError(command, Export::tr("--scale takes 1, 2, 4 or 8"));
    }

    const Input input = readCodeText(path);
    if (!input.error.isEmpty()) {
        printFileError(path, input.error);
        return kFailure;
    }
    std::vector<DeclaredSprite> sprites = readDeclarations(input.bytes);
    // The sheet holds what Open would register.
    if (sprites.size() > std::size_t(kSpriteTableSize))
        sprites.resize(std::size_t(kSpriteTableSize));
    const TileArrays tiles = readTileArrays(input.bytes, chooser);

    QString error;
    if (parser.isSet(sprite)) {
        const std::string name = parser.value(sprite).toStdString();
        // A name declared more than once is read from its first declaration.
        const auto found = std::find_if(sprites.begin(), sprites.end(),
                                        [&](const DeclaredSprite& s) { return s.name == name; });
        std::optional<Shades> shades;
        if (found != sprites.end()) {
            shades = found->shades;
        } else if (const auto tile = parseArrayTileName(name)) {
            const TileArray* array = tiles.find(tile->array);
            if (array && tile->index < array->tileCount())
                shades = array->tile(tile->index);
        }
        if (!shades) {
            printFileError(path, Export::tr("there is no sprite named \"%1\"").arg(parser.value(sprite)));
            return kFailure;
        }
        error = isStandardStream(out) ? printPng(spriteImage(*shades, factor))
                                      : saveSpritePng(*shades, factor, out);
    } else {
        if (sprites.empty() && tiles.arrays.empty()) {
            printFileError(path, Export::tr("there are no sprites to export"));
            return kFailure;
        }
        std::vector<std::string> names;
        std::vector<Shades> codes;
        const std::size_t count = sprites.size() + std::size_t(tiles.tileCount());
        names.reserve(count);
        codes.reserve(count);
        for (const DeclaredSprite& s : sprites) {
            names.push_back(s.name);
            codes.push_back(s.shades);
        }
        // Tiles of arrays follow, named as the window names them.
        for (const TileArray& array : tiles.arrays) {
            for (int index = 0; index < array.tileCount(); ++index) {
                names.push_back(array.tileName(index));
                codes.push_back(array.tile(index));
            }
        }
        if (isStandardStream(out)) {
            error = printPng(sheetImage(codes));
        } else if (stream) {
            // A pipe or a device takes the image alone, as standard output does.
            error = savePng(sheetImage(codes), out);
        } else if (sameFile(sheetIndexPath(out), path)) {
            // The index goes beside the image; it must not replace the input.
            printFileError(path,
                           Export::tr("the sheet's index \"%1\" would replace this file; choose another "
                                      "name for the image")
                               .arg(sheetIndexPath(out)));
            return kFailure;
        } else {
            error = saveSheetPng(names, codes, out);
        }
    }
    if (!error.isEmpty()) {
        printFileError(out, error);
        return kFailure;
    }
    return kSuccess;
}

} // namespace bitloom::cli
