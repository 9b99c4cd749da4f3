#include "cli/commandline.h"
#include "document/document.h"
#include "io/terminationsignal.h"
#include "ui/frame/filesession.h"
#include "ui/frame/mainwindow.h"
#include "ui/plurals.h"

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
    bitloom::EnglishPlurals plurals;
    QApplication::installTranslator(&plurals);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QApplication::translate("main", "Draws 8 x 8 sprites and keeps their C code."));
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QApplication::translate("main", "A C header or source to open."),
                                 QStringLiteral("[file]"));
    parser.process(app);

    // The document outlives the window that shows it.
    bitloom::Document document;
    bitloom::MainWindow window(document);
    bitloom::FileSession& session = window.session();
    // Logout and shutdown end the program without asking: the unsaved work
    // goes to the recovery file first, and the next start offers it.
    bitloom::TerminationSignal termination;
    bool terminated = false;
    QObject::connect(&termination, &bitloom::TerminationSignal::terminationRequested, &window, [&] {
        session.keepWork();
        terminated = true;
        QApplication::exit(0);
    });
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window,
                     [&session](QSessionManager&) { session.keepWork(); });
    window.show();
    const bool recovered = session.offerRecovery();
    // Ended while the start-up question was open: exit() found no loop to end.
    if (terminated)
        return 0;
    if (const QStringList files = parser.positionalArguments(); !files.isEmpty() && !recovered)
        session.startWith(files.first());
    return app.exec();
}
