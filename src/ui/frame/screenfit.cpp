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

namespace {

// `wanted`, or `room` when it is less, but at least `least`.
int within(int wanted, int room, int least)
{
    return std::max(least, std::min(wanted, room));
}

} // namespace

ChildPlaces sideBySide(QSize area, const ChildWindows& windows, bool fill)
{
    const auto& [editor, code, sprites] = windows;
    ChildPlaces places{};
    int columnWidth = 0;
    int below = 0;
    if (editor.shown) {
        places[0] = QRect(QPoint(0, 0), editor.wanted);
        columnWidth = editor.wanted.width();
        below = editor.wanted.height();
    }
    if (sprites.shown) {
        const int width =
            fill && !code.shown ? std::max(sprites.wanted.width(), area.width()) : sprites.wanted.width();
        const int room = area.height() - below;
        const int height = within(fill ? room : sprites.wanted.height(), room, sprites.least.height());
        // Too short a room even for what it needs: it moves up over the
        // editor's lower edge, as the code window over its right edge.
        places[2] = QRect(0, std::max(below / 2, std::min(below, area.height() - height)), width, height);
        columnWidth = std::max(columnWidth, width);
    }
    if (code.shown) {
        const int beside = area.width() - columnWidth;
        const int width = within(fill ? std::max(code.wanted.width(), beside) : code.wanted.width(),
                                 area.width(), code.least.width());
        const int x = std::max(columnWidth / 2, std::min(columnWidth, area.width() - width));
        const int height =
            within(fill ? area.height() : code.wanted.height(), area.height(), code.least.height());
        places[1] = QRect(x, 0, width, height);
    }
    return places;
}

ChildPlaces cascaded(QSize area, const ChildWindows& windows, int step)
{
    ChildPlaces places{};
    int offset = 0;
    for (std::size_t i = 0; i < windows.size(); ++i) {
        const ChildWindow& window = windows[i];
        if (!window.shown)
            continue;
        const QSize size(within(window.wanted.width(), area.width(), window.least.width()),
                         within(window.wanted.height(), area.height(), window.least.height()));
        const QPoint at(std::max(0, std::min(offset, area.width() - size.width())),
                        std::max(0, std::min(offset, area.height() - size.height())));
        places[i] = QRect(at, size);
        offset += step;
    }
    return places;
}

} // namespace bitloom
