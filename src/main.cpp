#include "ui/frame/mainwindow.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Bitloom"));
    QApplication::setDesktopFileName(QStringLiteral("com.veldrasoftware.Bitloom"));

    bitloom::MainWindow window;
    window.show();
    return app.exec();
}
