#pragma once

#include <QObject>

#include <vector>

class QAction;
class QActionGroup;
class QMdiArea;
class QMdiSubWindow;
class QMenu;

namespace bitloom {

// The Window menu: arranging the child windows, stepping through them in a
// fixed order (Ctrl+Tab, Ctrl+Shift+Tab) and one item per window, the
// active one checked.
class WindowMenu : public QObject {
    Q_OBJECT
public:
    WindowMenu(QMenu& menu, QMdiArea& area);

    // Lists `window` last, its item named `objectName`; Next and Previous
    // step through the windows in the order they were added.
    void addWindow(QMdiSubWindow* window, const char* objectName);

    // Activates the window after (`step` 1) or before (-1) the current one.
    void activateNeighbour(int step);

private:
    void showActive();

    QMenu& mMenu;
    QMdiArea& mArea;
    QActionGroup* mWindowItems;
    std::vector<QMdiSubWindow*> mWindows;
};

} // namespace bitloom
