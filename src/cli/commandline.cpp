#include "commandline.h"

#include "commands.h"
#include "io.h"

#include <QCoreApplication>

#include <cstring>

namespace bitloom::cli {

namespace {

struct CommandLine {
    Q_DECLARE_TR_FUNCTIONS(CommandLine)
};

using Command = int (*)(const QStringList&);

struct Subcommand {
    const char* name;
    Command run;
};

constexpr Subcommand kSubcommands[] = {
    {"show", runShow},
    {"check", runCheck},
    {"export", runExport},
    {"import", runImport},
};

const Subcommand* subcommandNamed(const char* name)
{
    for (const Subcommand& command : kSubcommands) {
        if (std::strcmp(command.name, name) == 0)
            return &command;
    }
    return nullptr;
}

bool isHelp(const char* argument)
{
    return std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0
           || std::strcmp(argument, "-?") == 0 || std::strcmp(argument, "--help-all") == 0;
}

bool isVersion(const char* argument)
{
    return std::strcmp(argument, "--version") == 0 || std::strcmp(argument, "-v") == 0;
}

QString programHelp()
{
    QString help =
        CommandLine::tr("Usage: bitloom [FILE]\n"
                        "       bitloom show [--textconv] FILE...\n"
                        "       bitloom check FILE...\n"
                        "       bitloom export FILE -o OUT.png [--sprite NAME] [--scale 1|2|4|8]\n"
                        "       bitloom import IN.png -o FILE\n"
                        "Draws 8 x 8 sprites in four greys and keeps their C code.\n"
                        "\n"
                        "Without a subcommand Bitloom opens its window. FILE is opened as the document;\n"
                        "a FILE that does not exist starts an empty sheet that Save writes under that\n"
                        "name, and a .png FILE starts a new sheet with the image imported.\n"
                        "\n"
                        "The subcommands need no display. Results go to standard output, messages to\n"
                        "standard error; the exit status is 0 on success, 1 on failure, 2 for a usage\n"
                        "error. \"-\" in place of a file means standard input, or standard output after\n"
                        "-o. Nothing is written anywhere but where -o says.\n"
                        "\n"
                        "  -h, --help     Shows this help.\n"
                        "  -v, --version  Shows the version.\n");
    for (const QString& commandHelp : {showHelp(), checkHelp(), exportHelp(), importHelp()})
        help += QLatin1Char('\n') + commandHelp;
    return help;
}

} // namespace

bool isCommandLineRun(int argc, char* argv[])
{
    if (argc < 2)
        return false;
    if (subcommandNamed(argv[1]))
        return true;
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        if (isHelp(argv[i]) || isVersion(argv[i]))
            return true;
    }
    return false;
}

int runCommandLine(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Bitloom"));
    QCoreApplication::setApplicationVersion(QStringLiteral(BITLOOM_VERSION));

    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (const Subcommand* command = subcommandNamed(argv[1]))
        return command->run(arguments.mid(1));
    // Help wins over the version when both are asked for, as it says more.
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        if (isHelp(argv[i])) {
            printResult(programHelp().toStdString());
            return kSuccess;
        }
    }
    printResult("bitloom " BITLOOM_VERSION "\n");
    return kSuccess;
}

} // namespace bitloom::cli
