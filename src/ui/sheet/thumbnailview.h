#pragma once

#include <QListView>

namespace bitloom {

class SpriteListModel;

// Every sprite of a SpriteListModel as a thumbnail, in list order, wrapping
// to the width: its drawing at 4x in a frame, its name underneath (elided in
// the middle when long), a highlight on the current sprite and a ring on the
// one that has the focus. Only the thumbnails in view are painted.
//
// A click chooses a sprite. The arrow keys, Home and End move the focus
// between thumbnails; Return, Enter or Space choose the focused one. The
// highlight follows the list's current row, never the focus: the selection
// is the current sprite, and only assistive technology selecting an item
// chooses it, as its press on it would.
class ThumbnailView : public QListView {
    Q_OBJECT
public:
    explicit ThumbnailView(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;
    SpriteListModel* sprites() const { return mSprites; }

    // The size of every thumbnail for the view's font.
    QSize cellSize() const;
    // How many thumbnails stand in a row at the current width.
    int columns() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void spriteChosen(int row);

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event = nullptr) const override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void showCurrentRow();
    void followCount();

    SpriteListModel* mSprites = nullptr;
    bool mShowingCurrent = false;
};

} // namespace bitloom
