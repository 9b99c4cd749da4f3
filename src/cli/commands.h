#pragma once

#include <QString>
#include <QStringList>

namespace bitloom::cli {

// The subcommands. Each takes the arguments after its own name and returns
// the program's exit status: 0 success, 1 failure, 2 a usage error.
int runShow(const QStringList& arguments);
int runCheck(const QStringList& arguments);
int runExport(const QStringList& arguments);
int runImport(const QStringList& arguments);

// Their help texts, for their own --help and the program's.
QString showHelp();
QString checkHelp();
QString exportHelp();
QString importHelp();

} // namespace bitloom::cli
