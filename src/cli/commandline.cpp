#include "commandline.h"

#include "commands.h"
#include "io.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

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
    {"show", runShow},     {"check", runCheck},     {"export", runExport},
    {"import", runImport}, {"convert", runConvert},
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

// The options of Qt's window command line that take a value.
bool takesValue(std::string_view option)
{
    if (option.starts_with("--"))
        option.remove_prefix(1);
    for (const char* name :
         {"-platform", "-platformpluginpath", "-platformtheme", "-plugin", "-qwindowgeometry", "-geometry",
          "-qwindowicon", "-icon", "-qwindowtitle", "-title", "-display", "-name", "-style", "-stylesheet",
          "-session", "-qmljsdebugger"}) {
        if (option == name)
            return true;
    }
    return false;
}

// The arguments that are no options, in order.
std::vector<std::string_view> positionalArguments(int argc, char* argv[])
{
    std::vector<std::string_view> positional;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (optionsEnded || argument == "-" || !argument.starts_with('-'))
            positional.push_back(argument);
        else if (argument == "--")
            optionsEnded = true;
        else if (takesValue(argument))
            ++i;
    }
    return positional;
}

// Edits (insertions, deletions, changes, swaps of neighbours) that turn
// `a` into `b`.
std::size_t editDistance(std::string_view a, std::string_view b)
{
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i)
        d[i][0] = i;
    for (std::size_t j = 0; j <= b.size(); ++j)
        d[0][j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t change = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + change});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return d[a.size()][b.size()];
}

// The subcommand a mistyped word most likely meant, if one is close.
const Subcommand* closestSubcommand(std::string_view word)
{
    constexpr std::size_t kMostEdits = 2;
    const Subcommand* closest = nullptr;
    std::size_t best = kMostEdits + 1;
    for (const Subcommand& command : kSubcommands) {
        if (const std::size_t distance = editDistance(word, command.name); distance < best) {
            best = distance;
            closest = &command;
        }
    }
    return closest;
}

bool fileExists(std::string_view path)
{
    return QFileInfo::exists(QString::fromLocal8Bit(path.data(), qsizetype(path.size())));
}

// Whether the window can be shown: a display to show it on, or a Qt
// platform that needs none (offscreen, minimal, vnc, a frame buffer...).
bool hasDisplay(int argc, char* argv[])
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    const auto isSet = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    if (isSet("DISPLAY") || isSet("WAYLAND_DISPLAY"))
        return true;
    const char* chosen = std::getenv("QT_QPA_PLATFORM");
    std::string_view platforms = chosen ? chosen : "";
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            platforms = argv[i + 1];
    }
    // A list "wayland;xcb" is tried in order; a name may carry options
    // after a colon.
    while (!platforms.empty()) {
        const std::size_t end = std::min(platforms.find(';'), platforms.size());
        const std::string_view entry = platforms.substr(0, end);
        const std::string_view name = entry.substr(0, entry.find(':'));
        if (!name.empty() && name != "xcb" && !name.starts_with("wayland"))
            return true;
        platforms.remove_prefix(std::min(end + 1, platforms.size()));
    }
    return false;
#else
    (void)argc;
    (void)argv;
    return true;
#endif
}

// Why the window is not started for these arguments, or an empty text.
QString windowRefusal(int argc, char* argv[])
{
    const std::vector<std::string_view> positional = positionalArguments(argc, argv);
    if (positional.size() >= 2) {
        const std::string_view first = positional.front();
        if (fileExists(first))
            return CommandLine::tr("bitloom: the window opens one file");
        const QString word = QString::fromLocal8Bit(first.data(), qsizetype(first.size()));
        if (const Subcommand* meant = closestSubcommand(first))
            return CommandLine::tr("bitloom: '%1' is not a command (did you mean '%2'?)")
                .arg(word, QString::fromLatin1(meant->name));
        return CommandLine::tr("bitloom: '%1' is not a command").arg(word);
    }
    if (!hasDisplay(argc, argv)) {
        QStringList names;
        for (const Subcommand& command : kSubcommands)
            names << QString::fromLatin1(command.name);
        const QString last = names.takeLast();
        return CommandLine::tr("bitloom: cannot open a window: no display. The commands %1 and %2 need none.")
            .arg(names.join(QStringLiteral(", ")), last);
    }
    return {};
}

QString programHelp()
{
    QString help =
        CommandLine::tr("Usage: bitloom [FILE]\n"
                        "       bitloom show [--textconv] [--layout ID|NAME=ID[:WIDTH]]... FILE...\n"
                        "       bitloom check [--layout ID|NAME=ID[:WIDTH]]... FILE...\n"
                        "       bitloom export FILE -o OUT.png [--sprite NAME] [--scale 1|2|4|8]\n"
                        "                      [--layout ID|NAME=ID[:WIDTH]]...\n"
                        "       bitloom import IN.png -o FILE [--layout ID [--name NAME]]\n"
                        "       bitloom convert IN -o OUT --layout ID [--name NAME] [--sprite S]...\n"
                        "                       [--style own|const|progmem]\n"
                        "Draws 8 x 8 sprites in four greys and keeps their C code, and reads the tiles of\n"
                        "byte arrays in other tools' layouts (gb, nes, rows, rows-lsb, columns).\n"
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
    for (const QString& commandHelp : {showHelp(), checkHelp(), exportHelp(), importHelp(), convertHelp()})
        help += QLatin1Char('\n') + commandHelp;
    return help;
}

} // namespace

bool isCommandLineRun(int argc, char* argv[])
{
    if (argc >= 2 && subcommandNamed(argv[1]))
        return true;
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        if (isHelp(argv[i]) || isVersion(argv[i]))
            return true;
    }
    return !windowRefusal(argc, argv).isEmpty();
}

int runCommandLine(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Bitloom"));
    QCoreApplication::setApplicationVersion(QStringLiteral(BITLOOM_VERSION));

    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (argc >= 2) {
        if (const Subcommand* command = subcommandNamed(argv[1]))
            return command->run(arguments.mid(1));
    }
    // Help wins over the version when both are asked for, as it says more.
    bool version = false;
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        if (isHelp(argv[i])) {
            printResult(programHelp().toStdString());
            return kSuccess;
        }
        version = version || isVersion(argv[i]);
    }
    if (version) {
        printResult("bitloom " BITLOOM_VERSION "\n");
        return kSuccess;
    }
    const QString refusal = windowRefusal(argc, argv);
    printMessage(refusal.isEmpty() ? CommandLine::tr("bitloom: give a subcommand; see \"bitloom --help\".")
                                   : refusal);
    return kUsageError;
}

} // namespace bitloom::cli
