#pragma once

#include "document/document.h"
#include "layout.h"

#include <QKeyCombination>
#include <QWidget>

#include <array>
#include <utility>
#include <vector>

class QAction;
class QFrame;
class QKeyEvent;
class QLabel;
class QShortcut;

namespace bitloom {

class CellWidget;
class SpriteNameBox;
class ToolImage;

// The sprite editor window "Graph Editor": the grid, the palette with its
// marker, the name box and the tool pop-up. It builds its controls from the
// twip layout, mirrors the document and forwards every user event to it,
// from the mouse or, on the grid's focus cell, from the keyboard.
class Editor : public QWidget {
    Q_OBJECT
public:
    explicit Editor(Document& document, QWidget* parent = nullptr);

    Document& document() const { return mDocument; }
    SpriteNameBox* nameBox() const { return mNameBox; }
    CellWidget* cell(int index) const { return mCells[std::size_t(index)]; }
    CellWidget* paletteCell(int index) const { return mPaletteCells[std::size_t(index)]; }
    // The grid cell that holds the keyboard focus while the grid has it.
    int focusCell() const { return mFocusCell; }
    // The grid cell under the pointer, or -1 when the pointer is off the grid.
    int pointerCell() const { return mPointerCell; }
    // Where the tool pop-up's top-left corner is, in twips of the editor.
    float toolPopupLeft() const { return mToolPopupLeft; }
    float toolPopupTop() const { return mToolPopupTop; }
    // The highlight of the tool under the pointer.
    bool penHighlighted() const { return mPenHighlighted; }
    bool brushHighlighted() const { return mBrushHighlighted; }
    // The colour marker's top, in twips.
    int markerTop() const { return layout::colourMarkerTop(codeOf(mDocument.colour())); }
    // Presses grid cell `cell` at `x`, `y` twips within it: a right press
    // opens the tool pop-up there, unless it is open already.
    void pressCell(int cell, MouseButton button, float x, float y);
    // Lets a single key on the grid's focus cell trigger `action`, a
    // drawing command of the menus: the key does what the item does, and
    // nothing while the item is disabled.
    void bindGridKey(QKeyCombination key, QAction* action);

signals:
    // The pointer came onto grid cell `cell`, or left the grid (-1).
    void pointerCellChanged(int cell);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void connectControls();
    void showDocument(Changes changes);
    void showCells();
    void showTools();
    void pointerMovedOverGrid(QPoint editorPos);
    // The grid cell under a point of the editor, if a cell shows there.
    CellWidget* cellUnder(QPoint editorPos) const;
    void pointerLeftCell();
    bool gridKeyPressed(const QKeyEvent& event);
    void moveFocusCell(int rows, int columns);
    void pressFocusCell(MouseButton button);
    void showRefusal(const Refusal& refusal);
    void reportPointerCell();
    void setPointerCell(int cell);
    void addEscapeKey();

    void highlightTool(bool pen, bool brush);

    Document& mDocument;
    Subscription mSubscription;
    // The view's own state: where the pop-up opened and which tool is
    // highlighted. The document knows only whether the pop-up is open.
    float mToolPopupLeft = float(layout::kToolPopup.rect.left);
    float mToolPopupTop = float(layout::kToolPopup.rect.top);
    bool mPenHighlighted = false;
    bool mBrushHighlighted = false;
    std::array<CellWidget*, 64> mCells{};
    std::array<CellWidget*, 4> mPaletteCells{};
    int mFocusCell = cellAt(0, 0);
    int mPointerCell = -1;
    QShortcut* mEscape = nullptr;
    std::vector<std::pair<QKeyCombination, QAction*>> mGridKeys;
    ToolImage* mColourMarker = nullptr;
    QLabel* mNameLabel = nullptr;
    SpriteNameBox* mNameBox = nullptr;
    QFrame* mToolPopup = nullptr;
    ToolImage* mPenButton = nullptr;
    ToolImage* mBrushButton = nullptr;
    bool mLeftCell = false; // the pointer left a cell and entered no other yet
};

} // namespace bitloom
