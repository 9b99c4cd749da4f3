#pragma once

#include <QString>
#include <QStringList>

#include <string_view>

namespace bitloom::cli {

// The subcommands. Each takes the arguments after its own name and returns
// the program's exit status: 0 success, 1 failure, 2 a usage error.
int runShow(const QStringList& arguments);
int runCheck(const QStringList& arguments);
int runExport(const QStringList& arguments);
int runImport(const QStringList& arguments);

// The problems `check` finds in a code text, as it prints them
// ("FILE:LINE: error: ..." lines), and whether any of them is an error.
struct DiagnosticReport {
    QString text;
    bool errors = false;
};
DiagnosticReport diagnosticReport(const QString& path, std::string_view text);

// Their help texts, for their own --help and the program's.
QString showHelp();
QString checkHelp();
QString exportHelp();
QString importHelp();

} // namespace bitloom::cli
