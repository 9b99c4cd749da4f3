#pragma once

#include "document/document.h"

#include <QWidget>

#include <array>
#include <string>
#include <vector>

class QScrollArea;

namespace bitloom {

class SpritePreview;
class ThumbnailSheet;

// The "Sprites" window: the current drawing at real size and enlarged, and
// every named sprite as a thumbnail to choose from. It mirrors the document,
// repainting only the thumbnails whose drawings changed, and a thumbnail
// chosen recalls that sprite as a list choice does. It cannot be closed.
class SheetWindow : public QWidget {
    Q_OBJECT
public:
    explicit SheetWindow(Document& document, QWidget* parent = nullptr);

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
    void showDocument(const DocumentChange& change);

    Document& mDocument;
    Subscription mSubscription;
    SpritePreview* mPreview;
    ThumbnailSheet* mThumbnails;
    QScrollArea* mScroll;
};

} // namespace bitloom
