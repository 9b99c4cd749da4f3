#pragma once

namespace bitloom::cli {

// Whether the arguments ask for a subcommand, --help or --version: work
// done without a window, and without a display.
bool isCommandLineRun(int argc, char* argv[]);

// Runs that work on a QCoreApplication and returns the exit status.
int runCommandLine(int argc, char* argv[]);

} // namespace bitloom::cli
