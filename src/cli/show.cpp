#include "commands.h"
#include "io.h"
#include "spritetext.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace bitloom::cli {

namespace {
struct Show {
    Q_DECLARE_TR_FUNCTIONS(Show)
};
} // namespace

QString showHelp()
{
    return Show::tr("Usage: bitloom show [--textconv] [--layout ID|NAME=ID[:WIDTH]]... FILE...\n"
                    "Prints each sprite of the C files: its name, eight rows of eight characters\n"
                    "(. white, + grey, * dark grey, # black) and an empty line. Then each tile of\n"
                    "the byte arrays that hold tiles, so, named \"NAME[i] (ID)\"; an image wider\n"
                    "than 8 is printed once, whole, named \"NAME (ID, W\u00D7H)\". \"-\" reads standard\n"
                    "input. Problems are reported on standard error as check reports them; with\n"
                    "errors among them the exit status is 1.\n"
                    "\n"
                    "  --textconv  Prints the text unchanged, with each sprite's picture as eight\n"
                    "              \"// \" lines after its declarations, and each tile array's\n"
                    "              pictures, with their name lines, after the line where it\n"
                    "              ends, for git diff.\n"
                    "  --layout ID Reads every byte array in the layout ID: gb, nes, rows,\n"
                    "              rows-lsb or columns. NAME=ID[:WIDTH] reads the array NAME\n"
                    "              so, as an image WIDTH pixels wide; repeat it for others.\n"
                    "              Either overrides what the file says.\n"
                    "  -h, --help  Shows this help.\n");
}

int runShow(const QStringList& arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption textconv(QStringLiteral("textconv"),
                                      Show::tr("Annotates the text for git diff."));
    const QCommandLineOption layout = layoutOption();
    parser.addOptions({textconv, layout});
    if (const auto stop = parseCommand(parser, QStringLiteral("show"), arguments, showHelp()))
        return *stop;
    LayoutChooser chooser;
    if (const auto stop = layoutChooser(parser, layout, QStringLiteral("show"), chooser))
        return *stop;
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty())
        return usageError(QStringLiteral("show"), Show::tr("no file given"));

    int status = kSuccess;
    for (const QString& path : files) {
        if (parser.isSet(textconv)) {
            // A diff filter must not stop git diff: a file that is no code
            // text (another header's encoding, a large file) passes unchanged.
            const Input input = readAllBytes(path);
            if (!input.error.isEmpty()) {
                printFileError(path, input.error);
                status = kFailure;
            } else {
                printResult(codeTextRefusal(input.bytes).isEmpty() ? annotatedText(input.bytes, chooser)
                                                                   : input.bytes);
            }
            continue;
        }
        const Input input = readCodeText(path);
        if (!input.error.isEmpty()) {
            printFileError(path, input.error);
            status = kFailure;
            continue;
        }
        const std::string listing = spriteListing(input.bytes, chooser);
        printResult(listing);
        // What cannot be read is said as check says it, beside the result.
        const DiagnosticReport report = diagnosticReport(path, input.bytes, chooser);
        if (!report.text.isEmpty())
            printMessage(report.text.chopped(1));
        if (report.errors)
            status = kFailure;
        if (listing.empty())
            printMessage(Show::tr("%1: there are no sprites to show").arg(shownName(path)));
    }
    return status;
}

} // namespace bitloom::cli
