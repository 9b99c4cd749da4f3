#pragma once

#include "model/grid.h"
#include "model/tilesheet.h"

#include <QWidget>

#include <array>
#include <string>
#include <vector>

class QScrollArea;

namespace bitloom {

class SpritePreview;
class ThumbnailSheet;

// The "Sprites" window: the current drawing at real size and enlarged, and
// every named sprite as a thumbnail to choose from. It holds plain copies of
// what it shows and tells its owner which sprite the user chose; it cannot
// be closed.
class SheetWindow : public QWidget {
    Q_OBJECT
public:
    explicit SheetWindow(QWidget* parent = nullptr);

    // The named sprites in list order with their stored codes, and the list
    // index of the current one (-1: none). Only changed thumbnails repaint.
    void setSprites(const std::vector<std::string>& names,
                    const std::vector<std::array<Code, kCellCount>>& codes, int currentIndex);
    // The grid as it is now: shown by the preview and by the current
    // sprite's thumbnail. Repaints those two only.
    void setCurrentDrawing(const Grid& grid);

    SpritePreview* preview() const { return mPreview; }
    ThumbnailSheet* thumbnails() const { return mThumbnails; }
    QScrollArea* scrollArea() const { return mScroll; }

signals:
    // The user clicked the thumbnail at `listIndex` or chose it with the
    // keyboard.
    void spriteChosen(int listIndex);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    SpritePreview* mPreview;
    ThumbnailSheet* mThumbnails;
    QScrollArea* mScroll;
};

} // namespace bitloom
