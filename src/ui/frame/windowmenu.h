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
// active one checked. The x of a child window hides it; its item shows it
// again.
class WindowMenu : public QObject {
    Q_OBJECT
public:
    WindowMenu(QMenu& menu, QMdiArea& area);

    // Lists `window` last, its item named `objectName`; Next and Previous
    // step through the windows in the order they were added. Its size now is
    // the size the arrangements give it where there is room.
    void addWindow(QMdiSubWindow* window, const char* objectName);

    // With the editor, code and Sprites windows added in that order: moves
    // and shortens them so that each is shown whole in the workspace as far
    // as it can be (see sideBySide()). The start arrangement, once the
    // workspace has its size.
    void fitWindows();
    // Tile Windows and Cascade Windows: every window at least at the size
    // it needs, overlapping where the workspace is too small.
    void tileWindows();
    void cascadeWindows();

    // Activates the window after (`step` 1) or before (-1) the current one.
    void activateNeighbour(int step);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showActive();
    // Applies an arrangement; false when the windows are not the three it
    // is made for.
    bool arrange(bool fill, bool cascade);

    QMenu& mMenu;
    QMdiArea& mArea;
    QActionGroup* mWindowItems;
    std::vector<QMdiSubWindow*> mWindows;
    std::vector<QSize> mWanted;
};

} // namespace bitloom
