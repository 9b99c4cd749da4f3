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
// holding the keyboard focus. While unsaved work cannot be written to its
// recovery file, a warning stands before them all, until a write succeeds.
class StatusBar : public QStatusBar {
    Q_OBJECT
public:
    StatusBar(Document& document, Editor& editor, QWidget* parent = nullptr);

    // Why the recovery file cannot be written; empty takes the warning away.
    void showRecoveryProblem(const QString& reason);

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
    QLabel* mRecoveryProblem;
};

} // namespace bitloom
