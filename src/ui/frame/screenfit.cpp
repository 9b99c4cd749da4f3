#include "screenfit.h"

#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>

#include <algorithm>

namespace bitloom {

QSize fittedSize(QSize wanted, QSize frame, QSize available)
{
    const QSize room = (available - frame).expandedTo(QSize(1, 1));
    return wanted.boundedTo(room);
}

void fitToScreen(QWidget& window, QMdiArea& workspace)
{
    workspace.setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    workspace.setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // The workspace would otherwise keep room for a minimised child window
    // and scroll bars, more than a small screen leaves it.
    workspace.setMinimumSize(1, 1);
    if (window.layout())
        window.layout()->activate(); // the window's own minimum follows

    QRect children;
    for (const QMdiSubWindow* child : workspace.subWindowList())
        children |= child->geometry();
    const QSize shown = workspace.viewport()->size();
    const QSize wanted = window.size()
                         + QSize(std::max(0, children.right() + 1 - shown.width()),
                                 std::max(0, children.bottom() + 1 - shown.height()));
    // The frame is known once the window system has decorated the window;
    // before that it counts as nothing.
    const QSize frame = window.frameGeometry().size() - window.size();
    window.resize(fittedSize(wanted, frame, window.screen()->availableGeometry().size()));
}

} // namespace bitloom
