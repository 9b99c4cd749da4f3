#include "ui/frame/mainwindow.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Bitloom"));
    QApplication::setDesktopFileName(QStringLiteral("com.veldrasoftware.Bitloom"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QApplication::translate("main", "Draws 8 x 8 sprites and keeps their C code."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("file"), QApplication::translate("main", "A C header or source to open."),
                                 QStringLiteral("[file]"));
    parser.process(app);

    bitloom::MainWindow window;
    window.show();
    // A file that cannot be opened is reported; the program starts empty.
    if (const QStringList files = parser.positionalArguments(); !files.isEmpty())
        window.openFile(files.first());
    return app.exec();
}
