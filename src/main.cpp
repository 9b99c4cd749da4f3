#include "cli/commandline.h"
#include "ui/frame/mainwindow.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char* argv[])
{
    // Subcommands, --help and --version need no window: they are decided
    // before any GUI application exists, so they run without a display.
    if (bitloom::cli::isCommandLineRun(argc, argv))
        return bitloom::cli::runCommandLine(argc, argv);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Bitloom"));
    QApplication::setDesktopFileName(QStringLiteral("com.veldrasoftware.Bitloom"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QApplication::translate("main", "Draws 8 x 8 sprites and keeps their C code."));
    parser.addPositionalArgument(QStringLiteral("file"), QApplication::translate("main", "A C header or source to open."),
                                 QStringLiteral("[file]"));
    parser.process(app);

    bitloom::MainWindow window;
    window.show();
    if (const QStringList files = parser.positionalArguments(); !files.isEmpty())
        window.startWith(files.first());
    return app.exec();
}
