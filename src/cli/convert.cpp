#include "commands.h"
#include "io.h"

#include "codegen/arraywriter.h"
#include "codegen/headersprites.h"
#include "codegen/identifier.h"
#include "io/pngfile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

#include <string_view>
#include <variant>

namespace bitloom::cli {

namespace {

struct Convert {
    Q_DECLARE_TR_FUNCTIONS(Convert)
};

std::string utf8(const QString& text)
{
    return text.toStdString();
}

// Far more than any image import takes (1024 x 1024 pixels) or any code
// text (4 MiB) needs; a device that never ends is refused.
constexpr std::size_t kMaxInputBytes = 64u * 1024u * 1024u;

bool hasPngSignature(std::string_view bytes)
{
    return bytes.starts_with(std::string_view("\x89PNG\r\n\x1a\n", 8));
}

// The tiles of a PNG image, named as import names them: by the index beside
// a file, else after the file; from standard input or a pipe, "tile0", ...
// `notGrey` counts the pixels that took the nearest grey.
std::variant<std::vector<SourceDrawing>, QString> imageDrawings(const QString& path, const Input& input,
                                                                int& notGrey)
{
    const bool regularFile = !isStandardStream(path) && QFileInfo(path).isFile();
    TileImport import =
        regularFile
            ? importTiles(path)
            : importTileBytes(QByteArray(input.bytes.data(), qsizetype(input.bytes.size())), shownName(path));
    if (!import.refusal.isEmpty())
        return import.refusal;
    notGrey = import.notGrey;
    std::vector<SourceDrawing> drawings;
    drawings.reserve(import.tiles.size());
    for (Tile& tile : import.tiles)
        drawings.push_back({std::move(tile.name), tile.shades, {}});
    return drawings;
}

QString quotedList(const std::vector<std::string>& names)
{
    QStringList quoted;
    for (const std::string& name : names)
        quoted << QLatin1Char('"') + QString::fromStdString(name) + QLatin1Char('"');
    return quoted.join(QStringLiteral(", "));
}

} // namespace

QString convertHelp()
{
    return Convert::tr("Usage: bitloom convert IN -o OUT --layout ID [--name NAME] [--sprite S]...\n"
                       "                       [--style own|const|progmem]\n"
                       "Writes the sprites of IN as a complete C header OUT in one layout. IN is a C\n"
                       "header (its pair sprites, then the tiles of its tile arrays) or a PNG image (its\n"
                       "8 x 8 tiles, named by the index IN.txt beside it when there is one); \"-\" reads\n"
                       "standard input, a PNG when it begins with the PNG signature. OUT is replaced\n"
                       "only once it is whole; \"-o -\" writes to standard output.\n"
                       "\n"
                       "Layouts: gb (Game Boy, 2 bits interleaved, 16 bytes a tile), nes (NES, 2 bits\n"
                       "planar, 16), rows (1 bit, rows, left bit high, 8), rows-lsb (1 bit, rows, left\n"
                       "bit low, as XBM, 8), columns (1 bit, columns, top bit low, as OLED pages, 8):\n"
                       "one array of every chosen sprite, one tile a line; or pairs: a light and a dark\n"
                       "declaration per sprite, as Bitloom writes them, a tile NAME[i] named NAME_i.\n"
                       "One-bit layouts write white and grey as 0, dark grey and black as 1, and say\n"
                       "which sprites had greys.\n"
                       "\n"
                       "  -o, --output OUT     The header to write.\n"
                       "  --layout ID          The layout of OUT: gb, nes, rows, rows-lsb, columns or\n"
                       "                       pairs.\n"
                       "  --layout NAME=ID[:WIDTH]\n"
                       "                       How IN's array NAME is read, whatever IN says (repeatable).\n"
                       "  --name NAME          The array's name (default: OUT's file name without its\n"
                       "                       extension, as a C identifier).\n"
                       "  --sprite S           A sprite, a tile NAME[i] or a whole array to write\n"
                       "                       (repeatable, in that order; default: all).\n"
                       "  --style STYLE        const (the default for arrays): const uint8_t; progmem:\n"
                       "                       const uint8_t ... PROGMEM with <avr/pgmspace.h>; own (the\n"
                       "                       default for pairs): static unsigned char, as Bitloom\n"
                       "                       writes its own sprites.\n"
                       "  -h, --help           Shows this help.\n");
}

int runConvert(const QStringList& arguments)
{
    const QString command = QStringLiteral("convert");
    QCommandLineParser parser;
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    Convert::tr("The header to write."), QStringLiteral("OUT"));
    const QCommandLineOption layout(QStringLiteral("layout"), Convert::tr("The layout of OUT."),
                                    QStringLiteral("ID"));
    const QCommandLineOption name(QStringLiteral("name"), Convert::tr("The array's name."),
                                  QStringLiteral("NAME"));
    const QCommandLineOption sprite(QStringLiteral("sprite"), Convert::tr("A sprite or tile to write."),
                                    QStringLiteral("S"));
    const QCommandLineOption style(QStringLiteral("style"), Convert::tr("How the declarations are written."),
                                   QStringLiteral("STYLE"));
    parser.addOptions({output, layout, name, sprite, style});
    if (const auto stop = parseCommand(parser, command, arguments, convertHelp()))
        return *stop;
    const QStringList inputs = parser.positionalArguments();
    if (inputs.size() != 1)
        return usageError(command, Convert::tr("give one input file"));
    if (!parser.isSet(output))
        return usageError(command, Convert::tr("-o OUT is missing"));
    const QString in = inputs.first();
    const QString out = parser.value(output);
    // The output is never merged: written over its input it would lose it.
    if (!isStandardStream(in) && !isStandardStream(out) && sameFile(in, out))
        return usageError(command, Convert::tr("the output \"%1\" is the input file").arg(out));

    // One plain layout says what to write; NAME=ID[:WIDTH] ones how to read.
    OutputLayout target;
    bool targetGiven = false;
    std::vector<LayoutOption> readAs;
    for (const QString& value : parser.values(layout)) {
        if (value.contains(QLatin1Char('='))) {
            const auto option = parseLayoutOption(utf8(value));
            if (const auto* message = std::get_if<std::string>(&option))
                return usageError(command, QString::fromStdString(*message));
            readAs.push_back(std::get<LayoutOption>(option));
            continue;
        }
        if (targetGiven)
            return usageError(command, Convert::tr("give one --layout ID for OUT"));
        targetGiven = true;
        if (!parseOutputLayoutId(utf8(value), target))
            return usageError(command, Convert::tr("unknown layout \"%1\"; the layouts are gb, nes, rows, "
                                                   "rows-lsb, columns and pairs")
                                           .arg(value));
    }
    if (!targetGiven)
        return usageError(command, Convert::tr("--layout ID is missing"));

    ArrayStyle chosenStyle = defaultStyle(target);
    if (parser.isSet(style)) {
        const auto parsed = parseStyleId(utf8(parser.value(style)));
        if (!parsed)
            return usageError(command,
                              Convert::tr("unknown style \"%1\"; the styles are own, const and progmem")
                                  .arg(parser.value(style)));
        chosenStyle = *parsed;
    }

    std::string arrayName;
    if (parser.isSet(name)) {
        arrayName = utf8(parser.value(name));
        if (checkIdentifier(arrayName).problem != IdentifierProblem::None)
            return usageError(command,
                              Convert::tr("--name \"%1\" is not a C identifier").arg(parser.value(name)));
    } else {
        // Named after the output, else the input, else "tiles".
        const QString named = !isStandardStream(out) ? out : !isStandardStream(in) ? in : QString();
        arrayName = named.isEmpty() ? std::string("tiles")
                                    : identifierFromStem(utf8(QFileInfo(named).completeBaseName()));
    }

    Input input = readBoundedBytes(in, kMaxInputBytes);
    if (!input.error.isEmpty()) {
        printFileError(in, input.error);
        return kFailure;
    }
    std::vector<SourceDrawing> drawings;
    if (hasPngSignature(input.bytes)) {
        int notGrey = 0;
        auto read = imageDrawings(in, input, notGrey);
        if (const auto* refusal = std::get_if<QString>(&read)) {
            printFileError(in, *refusal);
            return kFailure;
        }
        drawings = std::move(std::get<std::vector<SourceDrawing>>(read));
        if (notGrey > 0)
            printMessage(Convert::tr("%1: warning: %2").arg(shownName(in), notGreyText(notGrey)));
    } else {
        if (const QString refusal = codeTextRefusal(input.bytes); !refusal.isEmpty()) {
            printFileError(in, refusal);
            return kFailure;
        }
        drawings = headerDrawings(input.bytes, readAs);
    }

    std::vector<std::string> picks;
    for (const QString& pick : parser.values(sprite))
        picks.push_back(utf8(pick));
    auto picked = pickDrawings(drawings, picks);
    if (const auto* unknown = std::get_if<UnknownPick>(&picked)) {
        printFileError(in, Convert::tr("there is no sprite, tile or array named \"%1\"")
                               .arg(QString::fromStdString(unknown->name)));
        return kFailure;
    }
    drawings = std::move(std::get<std::vector<SourceDrawing>>(picked));
    if (drawings.empty()) {
        printFileError(in, Convert::tr("there are no sprites or tiles to convert"));
        return kFailure;
    }

    const std::string fileName = isStandardStream(out) ? arrayName + ".h" : utf8(QFileInfo(out).fileName());
    const WrittenHeader header = writeHeader(drawings, {target, arrayName, chosenStyle, fileName});
    if (const QString error = writeOutput(out, header.text); !error.isEmpty()) {
        printFileError(out, error);
        return kFailure;
    }
    if (!header.mappedSprites.empty()) {
        printMessage(Convert::tr("%1: warning: %2 holds white and black only; grey became white and dark "
                                 "grey black in %3")
                         .arg(shownName(in), QString::fromUtf8(outputLayoutId(target)),
                              quotedList(header.mappedSprites)));
    }
    return kSuccess;
}

} // namespace bitloom::cli
