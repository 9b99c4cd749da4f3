#include "io.h"

#include "codegen/reader.h"
#include "io/codefile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

#if defined(Q_OS_UNIX)
#include <sys/stat.h>
#endif

namespace bitloom::cli {

namespace {

struct CommandLine {
    Q_DECLARE_TR_FUNCTIONS(CommandLine)
};

// Reads standard input; at most `limit` bytes (and one more to tell that
// there were more).
Input readStandardInput(std::size_t limit)
{
    Input input;
    char buffer[65536];
    while (input.bytes.size() <= limit) {
        const std::size_t read = std::fread(buffer, 1, sizeof buffer, stdin);
        input.bytes.append(buffer, read);
        if (read < sizeof buffer)
            break;
    }
    if (std::ferror(stdin))
        input.error = CommandLine::tr("Standard input cannot be read.");
    return input;
}

} // namespace

QString codeTextRefusal(std::string_view bytes)
{
    if (const auto refusal = refusalForCodeText(bytes))
        return codeTextRefusalText(*refusal);
    return {};
}

bool isStandardStream(const QString& path)
{
    return path == QLatin1String("-");
}

Input readCodeText(const QString& path)
{
    Input input;
    if (isStandardStream(path)) {
        input = readStandardInput(kMaxCodeTextBytes);
    } else {
        CodeFileRead read = readCodeFile(path);
        input = {std::move(read.bytes), read.error};
    }
    if (input.error.isEmpty())
        input.error = codeTextRefusal(input.bytes);
    return input;
}

Input readAllBytes(const QString& path)
{
    if (isStandardStream(path))
        return readStandardInput(std::size_t(-1) / 2);
    if (QFileInfo(path).isDir())
        return {{}, CommandLine::tr("It is a folder, not a file.")};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, file.errorString()};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {{}, file.errorString()};
    return {bytes.toStdString(), {}};
}

Input readBoundedBytes(const QString& path, std::size_t limit)
{
    Input input;
    if (isStandardStream(path)) {
        input = readStandardInput(limit);
    } else if (QFileInfo(path).isDir()) {
        return {{}, CommandLine::tr("It is a folder, not a file.")};
    } else {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {{}, file.errorString()};
        // One byte more than allowed tells a file that is too large.
        const QByteArray bytes = file.read(qint64(limit) + 1);
        if (file.error() != QFileDevice::NoError)
            return {{}, file.errorString()};
        input.bytes = bytes.toStdString();
    }
    if (input.error.isEmpty() && input.bytes.size() > limit)
        return {{}, CommandLine::tr("It is larger than %1 MiB.").arg(limit / (1024 * 1024))};
    return input;
}

QString writeOutput(const QString& path, std::string_view bytes)
{
    if (isStandardStream(path)) {
        printResult(bytes);
        if (std::fflush(stdout) != 0 || std::ferror(stdout))
            return CommandLine::tr("Standard output cannot be written.");
        return {};
    }
    return writeCodeFile(path, std::string(bytes));
}

void printResult(std::string_view bytes)
{
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

void printMessage(const QString& text)
{
    const QByteArray bytes = text.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stderr);
}

QString shownName(const QString& path)
{
    return isStandardStream(path) ? QStringLiteral("<stdin>") : path;
}

void printFileError(const QString& path, const QString& message)
{
    printMessage(CommandLine::tr("%1: error: %2").arg(shownName(path), message));
}

bool sameFile(const QString& a, const QString& b)
{
#if defined(Q_OS_UNIX)
    // The device and the inode tell one file also under two hard links.
    struct stat first {
    }, second{};
    return ::stat(QFile::encodeName(a).constData(), &first) == 0
           && ::stat(QFile::encodeName(b).constData(), &second) == 0 && first.st_dev == second.st_dev
           && first.st_ino == second.st_ino;
#else
    const QFileInfo first(a), second(b);
    return first.exists() && second.exists() && first.canonicalFilePath() == second.canonicalFilePath();
#endif
}

std::optional<int> parseCommand(QCommandLineParser& parser, const QString& command,
                                const QStringList& arguments, const QString& help)
{
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")},
                                        CommandLine::tr("Shows this help."));
    parser.addOption(helpOption);
    if (!parser.parse(QStringList{command} + arguments))
        return usageError(command, parser.errorText());
    if (parser.isSet(helpOption)) {
        printResult(help.toStdString());
        return kSuccess;
    }
    return std::nullopt;
}

int usageError(const QString& command, const QString& message)
{
    printMessage(CommandLine::tr("bitloom %1: %2").arg(command, message));
    printMessage(CommandLine::tr("Try \"bitloom %1 --help\".").arg(command));
    return kUsageError;
}

QCommandLineOption layoutOption()
{
    return QCommandLineOption(QStringLiteral("layout"),
                              CommandLine::tr("The layout of every array, or of one (NAME=ID[:WIDTH])."),
                              QStringLiteral("ID"));
}

std::optional<int> layoutChooser(const QCommandLineParser& parser, const QCommandLineOption& option,
                                 const QString& command, LayoutChooser& chooser)
{
    std::vector<LayoutOption> options;
    for (const QString& value : parser.values(option)) {
        auto parsed = parseLayoutOption(value.toStdString());
        if (const auto* message = std::get_if<std::string>(&parsed))
            return usageError(command, QString::fromStdString(*message));
        options.push_back(std::move(std::get<LayoutOption>(parsed)));
    }
    if (options.empty())
        chooser = {};
    else
        chooser = [options = std::move(options)](std::string_view array) {
            return choiceFromOptions(options, array);
        };
    return std::nullopt;
}

std::optional<TileImport> readImageTiles(const QString& path)
{
    TileImport import;
    if (isStandardStream(path)) {
        const Input input = readAllBytes(path);
        if (!input.error.isEmpty()) {
            printFileError(path, input.error);
            return std::nullopt;
        }
        import = importTileBytes(QByteArray::fromStdString(input.bytes), shownName(path));
    } else {
        import = importTiles(path);
    }
    if (!import.refusal.isEmpty()) {
        printFileError(path, import.refusal);
        return std::nullopt;
    }
    return import;
}

} // namespace bitloom::cli
