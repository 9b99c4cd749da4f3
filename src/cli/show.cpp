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
    return Show::tr("Usage: bitloom show [--textconv] FILE...\n"
                    "Prints each sprite of the C files: its name, eight rows of eight characters\n"
                    "(. white, + grey, * dark grey, # black) and an empty line. \"-\" reads\n"
                    "standard input. Problems are reported on standard error as check reports\n"
                    "them; with errors among them the exit status is 1.\n"
                    "\n"
                    "  --textconv  Prints the text unchanged, with each sprite's picture as eight\n"
                    "              \"// \" lines after its declarations, for git diff.\n"
                    "  -h, --help  Shows this help.\n");
}

int runShow(const QStringList& arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption textconv(QStringLiteral("textconv"),
                                      Show::tr("Annotates the text for git diff."));
    parser.addOption(textconv);
    if (const auto stop = parseCommand(parser, QStringLiteral("show"), arguments, showHelp()))
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
                printResult(codeTextRefusal(input.bytes).isEmpty() ? annotatedText(input.bytes)
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
        const std::string listing = spriteListing(input.bytes);
        printResult(listing);
        // What cannot be read is said as check says it, beside the result.
        const DiagnosticReport report = diagnosticReport(path, input.bytes);
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
