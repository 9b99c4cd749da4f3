#pragma once

#include <QDialog>

class QMenuBar;
class QTreeWidget;

namespace bitloom {

// Help > Keyboard Shortcuts: every key Bitloom answers to, in groups. The
// menus' own shortcuts are read from the menu bar when the window is made,
// so the list says what the menus really do; the keys of the grid (keyboard
// painting), the name box and the Sprites window follow.
class ShortcutsWindow : public QDialog {
    Q_OBJECT
public:
    ShortcutsWindow(const QMenuBar& menus, QWidget* parent = nullptr);

    // The listed keys, as "group: action: keys" lines (tests read them).
    QStringList entries() const;

private:
    QTreeWidget* mList;
};

// Help > About Bitloom: the version, the licence and what the program is for.
QString aboutText();

} // namespace bitloom
