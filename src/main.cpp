#include "cli/commandline.h"
#include "io/terminationsignal.h"
#include "ui/frame/mainwindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QSessionManager>

int main(int argc, char* argv[])
{
    // Subcommands, --help and --version need no window: they are decided
    // before any GUI application exists, so they run without a display. So
    // are arguments the window cannot take and a missing display, which
    // would otherwise end in Qt's abort.
    if (bitloom::cli::isCommandLineRun(argc, argv))
        return bitloom::cli::runCommandLine(argc, argv);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Bitloom"));
    QApplication::setDesktopFileName(QStringLiteral("com.veldrasoftware.Bitloom"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QApplication::translate("main", "Draws 8 x 8 sprites and keeps their C code."));
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QApplication::translate("main", "A C header or source to open."),
                                 QStringLiteral("[file]"));
    parser.process(app);

    bitloom::MainWindow window;
    // Logout and shutdown end the program without asking: the unsaved work
    // goes to the recovery file first, and the next start offers it.
    bitloom::TerminationSignal termination;
    bool terminated = false;
    QObject::connect(&termination, &bitloom::TerminationSignal::terminationRequested, &window, [&] {
        window.keepWork();
        terminated = true;
        QApplication::exit(0);
    });
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window,
                     [&window](QSessionManager&) { window.keepWork(); });
    window.show();
    const bool recovered = window.offerRecovery();
    // Ended while the start-up question was open: exit() found no loop to end.
    if (terminated)
        return 0;
    if (const QStringList files = parser.positionalArguments(); !files.isEmpty() && !recovered)
        window.startWith(files.first());
    return app.exec();
}
