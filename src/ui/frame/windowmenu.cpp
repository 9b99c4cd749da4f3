#include "windowmenu.h"

#include "screenfit.h"

#include <QAction>
#include <QActionGroup>
#include <QEvent>
#include <QLayout>
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
    connect(addItem(mMenu, "tileWindowsAction", tr("&Tile Windows")), &QAction::triggered, this,
            &WindowMenu::tileWindows);
    connect(addItem(mMenu, "cascadeWindowsAction", tr("&Cascade Windows")), &QAction::triggered, this,
            &WindowMenu::cascadeWindows);
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
    mWanted.push_back(window->size());
    window->installEventFilter(this);
    showActive();
}

bool WindowMenu::eventFilter(QObject* watched, QEvent* event)
{
    // The x hides the window instead of closing it; the window's own close
    // handling never runs, so nothing is lost.
    if (event->type() == QEvent::Close) {
        auto* window = static_cast<QMdiSubWindow*>(watched);
        if (std::find(mWindows.begin(), mWindows.end(), window) != mWindows.end() && window->isVisible()) {
            event->ignore();
            window->hide();
            showActive();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

bool WindowMenu::arrange(bool fill, bool cascade)
{
    if (mWindows.size() != 3)
        return false;
    ChildWindows windows;
    for (std::size_t i = 0; i < 3; ++i) {
        QMdiSubWindow* window = mWindows[i];
        if (window->layout())
            window->layout()->activate();
        windows[i] = {mWanted[i], window->minimumSizeHint().expandedTo(window->minimumSize()),
                      window->isVisible()};
    }
    const QSize area = mArea.contentsRect().size();
    const ChildPlaces places =
        cascade ? cascaded(area, windows, 2 * mArea.fontMetrics().height()) : sideBySide(area, windows, fill);
    for (std::size_t i = 0; i < 3; ++i) {
        if (!windows[i].shown)
            continue;
        mWindows[i]->showNormal();
        mWindows[i]->setGeometry(places[i]);
    }
    if (cascade) {
        for (QMdiSubWindow* window : mWindows)
            window->raise();
    }
    return true;
}

void WindowMenu::fitWindows()
{
    arrange(false, false);
}

void WindowMenu::tileWindows()
{
    if (!arrange(true, false))
        mArea.tileSubWindows();
}

void WindowMenu::cascadeWindows()
{
    if (!arrange(false, true))
        mArea.cascadeSubWindows();
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
