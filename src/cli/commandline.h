#pragma once

namespace bitloom::cli {

// Whether the arguments ask for a subcommand, --help or --version: work
// done without a window, and without a display. Also when the window cannot
// be started for them (a mistyped subcommand, more than one file, no
// display): that is said, and the run ends with the usage error status.
bool isCommandLineRun(int argc, char* argv[]);

// Runs that work on a QCoreApplication and returns the exit status.
int runCommandLine(int argc, char* argv[]);

} // namespace bitloom::cli
