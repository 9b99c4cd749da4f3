#include "windowmenu.h"

#include <QAction>
#include <QActionGroup>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

#include <algorithm>

namespace bitloom {

namespace {

QAction* addItem(QMenu& menu, const char* name, const QString& caption, QList<QKeySequence> keys = {})
{
    QAction* action = menu.addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcuts(keys);
    return action;
}

} // namespace

WindowMenu::WindowMenu(QMenu& menu, QMdiArea& area)
    : QObject(&menu), mMenu(menu), mArea(area), mWindowItems(new QActionGroup(this))
{
    connect(addItem(mMenu, "tileWindowsAction", tr("&Tile Windows")), &QAction::triggered, &mArea,
            &QMdiArea::tileSubWindows);
    connect(addItem(mMenu, "cascadeWindowsAction", tr("&Cascade Windows")), &QAction::triggered, &mArea,
            &QMdiArea::cascadeSubWindows);
    mMenu.addSeparator();
    // The workspace's own Ctrl+Tab follows the order of last activation and
    // passes over windows it cannot reach from the focus; these keys step
    // through all of them, always in the same order.
    connect(addItem(mMenu, "nextWindowAction", tr("&Next"), {QKeySequence(Qt::CTRL | Qt::Key_Tab)}),
            &QAction::triggered, this, [this] { activateNeighbour(1); });
    connect(addItem(mMenu, "previousWindowAction", tr("&Previous"),
                    {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab)}),
            &QAction::triggered, this, [this] { activateNeighbour(-1); });
    mMenu.addSeparator();

    mWindowItems->setExclusive(true);
    connect(&mArea, &QMdiArea::subWindowActivated, this, &WindowMenu::showActive);
}

void WindowMenu::addWindow(QMdiSubWindow* window, const char* objectName)
{
    QAction* item = addItem(mMenu, objectName, window->windowTitle());
    item->setCheckable(true);
    mWindowItems->addAction(item);
    connect(item, &QAction::triggered, this, [this, window] {
        window->showNormal();
        mArea.setActiveSubWindow(window);
        showActive(); // choosing the active window again changes nothing
    });
    mWindows.push_back(window);
    showActive();
}

void WindowMenu::activateNeighbour(int step)
{
    if (mWindows.empty())
        return;
    const auto count = int(mWindows.size());
    const auto at = std::find(mWindows.begin(), mWindows.end(), mArea.currentSubWindow());
    const int from = at == mWindows.end() ? (step > 0 ? count - 1 : 0) : int(at - mWindows.begin());
    QMdiSubWindow* next = mWindows[std::size_t(((from + step) % count + count) % count)];
    next->showNormal();
    mArea.setActiveSubWindow(next);
}

void WindowMenu::showActive()
{
    // While the main window is inactive the workspace has no active window;
    // the current one is the one that becomes active again.
    QMdiSubWindow* current = mArea.currentSubWindow();
    for (std::size_t i = 0; i < mWindows.size(); ++i)
        mWindowItems->actions().at(qsizetype(i))->setChecked(mWindows[i] == current);
}

} // namespace bitloom
