// Shows one main window and quits once it has been painted. Built twice:
// bench_bare_window shows an empty QMainWindow, bench_startup_window the
// program's own main window, set up as the program's main() does. Both end
// the same way, so timing the two processes compares their start-up.
#include <QApplication>
#include <QMainWindow>
#include <QTimer>

#ifdef BENCH_BITLOOM_WINDOW
#include "ui/frame/mainwindow.h"
#endif

namespace {

// Ends the event loop after the window's first paint has been flushed: the
// quit is queued behind the update that painted the window and its children.
class QuitAfterFirstPaint : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !mQueued) {
            mQueued = true;
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return false;
    }

private:
    bool mQueued = false;
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
#ifdef BENCH_BITLOOM_WINDOW
    QApplication::setApplicationName(QStringLiteral("Bitloom"));
    QApplication::setDesktopFileName(QStringLiteral("com.veldrasoftware.Bitloom"));
    bitloom::Document document;
    bitloom::MainWindow window(document);
#else
    QMainWindow window;
#endif
    QuitAfterFirstPaint quit;
    window.installEventFilter(&quit);
    window.show();
    return app.exec();
}
