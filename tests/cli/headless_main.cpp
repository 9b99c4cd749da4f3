// The command line alone, linked without the widgets library: proves that
// every subcommand builds and runs on the io layer below the windows.
#include "cli/commandline.h"

int main(int argc, char* argv[])
{
    return bitloom::cli::runCommandLine(argc, argv);
}
