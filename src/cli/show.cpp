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
                    "standard input.\n"
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
        printResult(spriteListing(input.bytes));
    }
    return status;
}

} // namespace bitloom::cli
