#pragma once

#include "codegen/tilearrays.h"

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
int runConvert(const QStringList& arguments);

// The problems `check` finds in a code text, as it prints them
// ("FILE:LINE: error: ..." lines), and whether any of them is an error; byte
// arrays that look like bitmap data but fit no layout, read with `choose`,
// are among the warnings.
struct DiagnosticReport {
    QString text;
    bool errors = false;
    int tileArrays = 0; // the tile arrays read
};
DiagnosticReport diagnosticReport(const QString& path, std::string_view text,
                                  const LayoutChooser& choose = {});

// Their help texts, for their own --help and the program's.
QString showHelp();
QString checkHelp();
QString exportHelp();
QString importHelp();
QString convertHelp();

} // namespace bitloom::cli
