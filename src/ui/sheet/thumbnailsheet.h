#pragma once

#include "model/grid.h"
#include "model/tilesheet.h"

#include <QWidget>

#include <string>
#include <vector>

namespace bitloom {

class Thumbnail;

// Every named sprite as a thumbnail, in list order, wrapping to the width.
// Updates touch only the thumbnails that changed, so a press in the editor
// repaints one thumbnail however many there are. The arrow keys, Home and
// End move the focus between thumbnails; Return, Enter or Space choose the
// focused one, as a click does.
class ThumbnailSheet : public QWidget {
    Q_OBJECT
public:
    explicit ThumbnailSheet(QWidget* parent = nullptr);

    // The named sprites and which of them is current (-1: none). The current
    // one shows the drawing given to setCurrentDrawing, the others `codes`.
    void setSprites(const std::vector<std::string>& names, const std::vector<Shades>& codes,
                    int currentIndex);
    void setCurrentDrawing(const Grid& grid);
    // The stored drawing of the sprite at `index` changed.
    void setStoredDrawing(int index, const Shades& shades);

    int count() const { return int(mThumbnails.size()); }
    int currentIndex() const { return mCurrent; }
    Thumbnail* thumbnail(int index) const { return mThumbnails.at(std::size_t(index)); }
    int columns() const { return columnsFor(width()); }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void spriteChosen(int listIndex);
    // The focus moved to `thumbnail` by the keyboard.
    void focusMoved(QWidget* thumbnail);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QSize cell() const;
    int columnsFor(int width) const;
    void relayout();
    void showDrawingOf(int index, const Shades& codes);
    void moveFocusTo(int index);
    void setTabStop(int index);

    std::vector<Thumbnail*> mThumbnails;
    int mCurrent = -1;
    int mTabStop = -1;
    bool mHasDrawing = false;
    Grid mDrawing{};
};

} // namespace bitloom
