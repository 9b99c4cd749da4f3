#include "commands.h"
#include "importarray.h"
#include "io.h"

#include "codegen/tilelayout.h"
#include "document/document.h"
#include "io/pngfile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>

namespace bitloom::cli {

namespace {
struct Import {
    Q_DECLARE_TR_FUNCTIONS(Import)
};
} // namespace

QString importHelp()
{
    return Import::tr("Usage: bitloom import IN.png -o FILE [--layout ID [--name NAME]]\n"
                      "Cuts the image into 8 x 8 tiles and adds them to the C file FILE as Import\n"
                      "PNG does: the tiles are named after the image and their index, or as the\n"
                      "index IN.txt beside the image names them (Export Sheet writes it), sprites\n"
                      "of those names are updated, and every other line of FILE is kept. A FILE that\n"
                      "does not exist is started as a new sheet. FILE is replaced only when the\n"
                      "whole new text has been written; a refused import leaves it untouched.\n"
                      "\"-o -\" writes the new sheet to standard output; a pipe or a device as FILE\n"
                      "is taken as empty, never read, and written into. \"-\" as IN.png reads\n"
                      "the image from standard input; its tiles are named tile0, tile1, ...\n"
                      "Each pixel takes the nearest of the four greys by its brightness (pixels less\n"
                      "than half opaque are white); how many were not one of them is said.\n"
                      "Without --layout, import writes pair sprites only: an index naming a tile of\n"
                      "an array, NAME[i], is refused and nothing is imported.\n"
                      "With --layout, the tiles go into FILE's array NAME (default: the image's\n"
                      "name) in layout ID (gb, nes, rows, rows-lsb or columns): over its tiles, each\n"
                      "number in its own notation, when it holds as many; refused when it holds\n"
                      "another number; appended after the last declaration, with its head, when\n"
                      "FILE has no such array.\n"
                      "\n"
                      "  -o, --output FILE  The C file to import into.\n"
                      "  --layout ID        The layout of FILE's array the tiles go into.\n"
                      "  --name NAME        That array's name.\n"
                      "  -h, --help         Shows this help.\n");
}

int runImport(const QStringList& arguments)
{
    const QString command = QStringLiteral("import");
    QCommandLineParser parser;
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    Import::tr("The C file to import into."), QStringLiteral("FILE"));
    const QCommandLineOption layout(QStringLiteral("layout"), Import::tr("The layout of FILE's array."),
                                    QStringLiteral("ID"));
    const QCommandLineOption name(QStringLiteral("name"), Import::tr("The array's name."),
                                  QStringLiteral("NAME"));
    parser.addOptions({output, layout, name});
    if (const auto stop = parseCommand(parser, command, arguments, importHelp()))
        return *stop;
    const QStringList images = parser.positionalArguments();
    if (images.size() != 1)
        return usageError(command, Import::tr("give one PNG image"));
    if (!parser.isSet(output))
        return usageError(command, Import::tr("-o FILE is missing"));
    const QString image = images.first();
    const QString target = parser.value(output);
    if (parser.isSet(layout))
        return importIntoArrayFile(image, target, parser.value(layout), parser.value(name));
    if (parser.isSet(name))
        return usageError(command, Import::tr("--name goes with --layout"));

    Document document;
    // A pipe or a device is written into as it is and never read: reading
    // a pipe would wait for a writer that never comes.
    if (!isStandardStream(target) && QFileInfo::exists(target) && !isStreamFile(target)) {
        const Input input = readCodeText(target);
        if (!input.error.isEmpty()) {
            printFileError(target, input.error);
            return kFailure;
        }
        // Read with Open's rules above, so the document takes it.
        if (document.open(input.bytes, target.toStdString())) {
            printFileError(target, codeTextRefusal(input.bytes));
            return kFailure;
        }
    }

    const std::optional<TileImport> import = readImageTiles(image);
    if (!import)
        return kFailure;
    // An index written by export names tiles of arrays "NAME[i]". Import
    // writes pair sprites only: such a name would become declarations no
    // compiler takes, so the whole import is refused.
    for (const Tile& tile : import->tiles) {
        if (const auto ref = parseArrayTileName(tile.name)) {
            printFileError(image, Import::tr("\"%1\" names a tile of the array %2, and import writes only "
                                             "pair sprites; nothing was imported. Rename it in the index "
                                             "beside the image to import it as a sprite.")
                                      .arg(QString::fromStdString(tile.name),
                                           QString::fromStdString(std::string(ref->array))));
            return kFailure;
        }
    }
    if (const auto noRoom = document.importDrawings(import->tiles)) {
        printFileError(image, importRefusalText(*noRoom, image));
        return kFailure;
    }
    if (const QString error = writeOutput(target, document.textToSave()); !error.isEmpty()) {
        printFileError(target, error);
        return kFailure;
    }
    if (import->notGrey > 0)
        printMessage(Import::tr("%1: warning: %2").arg(shownName(image), notGreyText(import->notGrey)));
    return kSuccess;
}

} // namespace bitloom::cli
