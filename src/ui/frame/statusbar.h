#pragma once

#include "document/document.h"

#include <QStatusBar>

class QLabel;

namespace bitloom {

class Editor;

// The main window's status bar: the tool and colour that painting uses, the
// current sprite's name, the current tile's layout, how many of the table's
// entries are named and how many tiles the arrays hold, and the
// grid cell under the pointer or, with the pointer off the grid, the one
// holding the keyboard focus.
class StatusBar : public QStatusBar {
    Q_OBJECT
public:
    StatusBar(Document& document, Editor& editor, QWidget* parent = nullptr);

private:
    void showDocument(Changes changes);
    void showTools();
    void showSprite();
    void showCell();
    QLabel* addField(const char* name, int stretch = 0);

    Document& mDocument;
    Subscription mSubscription;
    Editor& mEditor;
    QLabel* mTool;
    QLabel* mColour;
    QLabel* mSprite;
    QLabel* mLayout; // the current tile's layout and where it came from
    QLabel* mCount;
    QLabel* mCell;
};

} // namespace bitloom
