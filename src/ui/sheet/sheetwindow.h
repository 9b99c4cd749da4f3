#pragma once

#include "document/subscription.h"

#include <QWidget>

namespace bitloom {

class Document;
class SpritePreview;
class SpriteListModel;
class ThumbnailView;

// The "Sprites" window: the current drawing at real size and enlarged, and
// every named sprite as a thumbnail to choose from, shown from the sheet's
// sprite list. A thumbnail chosen recalls that sprite as a list choice
// does. It cannot be closed.
class SheetWindow : public QWidget {
    Q_OBJECT
public:
    // Shows `sprites`, or when none is given a list of its own that follows
    // `document`.
    explicit SheetWindow(Document& document, SpriteListModel* sprites = nullptr, QWidget* parent = nullptr);

    SpritePreview* preview() const { return mPreview; }
    ThumbnailView* thumbnails() const { return mThumbnails; }
    SpriteListModel* sprites() const { return mSprites; }

signals:
    // The user clicked the thumbnail at `listIndex` or chose it with the
    // keyboard.
    void spriteChosen(int listIndex);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    Document& mDocument;
    Subscription mSubscription;
    SpriteListModel* mSprites;
    SpritePreview* mPreview;
    ThumbnailView* mThumbnails;
};

} // namespace bitloom
