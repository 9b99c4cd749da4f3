#pragma once

#include "codegen/tilearrays.h"
#include "io/pngfile.h"

#include <QCommandLineOption>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

class QCommandLineParser;

namespace bitloom::cli {

// Exit statuses of the subcommands.
inline constexpr int kSuccess = 0;
inline constexpr int kFailure = 1;
inline constexpr int kUsageError = 2;

// "-" in place of a file: standard input, or standard output after -o.
bool isStandardStream(const QString& path);

// A file's bytes, or why they cannot be had (a message for the user).
struct Input {
    std::string bytes;
    QString error;
};

// Reads a code text file or standard input with Open's rules: at most the
// largest code text, and nothing that Open refuses (not UTF-8, NUL bytes).
Input readCodeText(const QString& path);

// Why Open refuses `bytes` as a code text, in the user's words, or an
// empty text when it takes them.
QString codeTextRefusal(std::string_view bytes);

// Reads a file or standard input whole, whatever it holds.
Input readAllBytes(const QString& path);

// The 8 x 8 tiles of the image at `path` (a file, or standard input or a
// pipe read whole), named as import names them; none, with the reason on
// standard error, when it cannot be read.
std::optional<TileImport> readImageTiles(const QString& path);

// Reads a file or standard input whole, but refuses more than `limit` bytes
// (a device that never ends, for one) with a message saying so.
Input readBoundedBytes(const QString& path, std::size_t limit);

// Writes `bytes` to standard output, or atomically to `path`. Returns an
// empty text or the reason it failed.
QString writeOutput(const QString& path, std::string_view bytes);

// Results go to standard output, messages to standard error.
void printResult(std::string_view bytes);
void printMessage(const QString& text);

// The file as diagnostics name it: as given, or "<stdin>" for "-".
QString shownName(const QString& path);

// "FILE: error: message", for what stops a whole file.
void printFileError(const QString& path, const QString& message);

// Whether two paths name one file, through symbolic and hard links alike
// (both must exist to be the same).
bool sameFile(const QString& a, const QString& b);

// Parses a subcommand's arguments (`arguments` without the program name).
// Handles --help and usage errors itself: returns the exit status when the
// command must stop there, none when it may go on.
std::optional<int> parseCommand(QCommandLineParser& parser, const QString& command,
                                const QStringList& arguments, const QString& help);

// Reports a usage error of `command` and returns kUsageError.
int usageError(const QString& command, const QString& message);

// The --layout option of show, check and export: "ID" for every array or
// "NAME=ID[:WIDTH]" for one, as often as needed, over what the file says.
QCommandLineOption layoutOption();
// Sets `chooser` to the choices the option's values make. When a value is
// wrong, reports the usage error and returns the exit status.
std::optional<int> layoutChooser(const QCommandLineParser& parser, const QCommandLineOption& option,
                                 const QString& command, LayoutChooser& chooser);

} // namespace bitloom::cli
