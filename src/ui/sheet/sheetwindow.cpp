#include "sheetwindow.h"

#include "spritepreview.h"
#include "thumbnailsheet.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QScrollArea>
#include <QVBoxLayout>

namespace bitloom {

SheetWindow::SheetWindow(Document& document, QWidget* parent)
    : QWidget(parent),
      mDocument(document),
      mPreview(new SpritePreview),
      mThumbnails(new ThumbnailSheet),
      mScroll(new QScrollArea)
{
    setObjectName(QStringLiteral("sprites"));
    setWindowTitle(tr("Sprites"));

    mScroll->setWidget(mThumbnails);
    mScroll->setWidgetResizable(true);
    mScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mScroll->setFocusPolicy(Qt::NoFocus);
    mScroll->setBackgroundRole(QPalette::Base);

    auto* previewColumn = new QVBoxLayout;
    previewColumn->addWidget(mPreview);
    previewColumn->addStretch();

    auto* box = new QHBoxLayout(this);
    box->setContentsMargins(4, 4, 4, 4);
    box->addLayout(previewColumn);
    box->addWidget(mScroll, 1);

    connect(mThumbnails, &ThumbnailSheet::spriteChosen, this, &SheetWindow::spriteChosen);
    connect(this, &SheetWindow::spriteChosen, this, [this](int index) { mDocument.chooseName(index); });
    connect(mThumbnails, &ThumbnailSheet::focusMoved, this,
            [this](QWidget* thumbnail) { mScroll->ensureWidgetVisible(thumbnail, 0, 0); });

    mSubscription = mDocument.subscribe([this](const DocumentChange& change) { showDocument(change); });
    showDocument({ListChanged | CellsChanged, {}, false, {}});
}

void SheetWindow::showDocument(const DocumentChange& change)
{
    if (change.changes & (ListChanged | NameChanged)) {
        mThumbnails->setSprites(mDocument.listedNames(), mDocument.listedDrawings(), mDocument.listedIndex());
    } else if (change.changes & TableChanged) {
        // Only the drawings that changed are looked up, not the whole sheet.
        for (const int index : change.changedSprites)
            mThumbnails->setStoredDrawing(index, mDocument.storedDrawing(index));
    }
    if (change.changes & CellsChanged) {
        mPreview->setDrawing(mDocument.grid());
        mThumbnails->setCurrentDrawing(mDocument.grid());
    }
}

void SheetWindow::closeEvent(QCloseEvent* event)
{
    // Like the editor and the code window, it stays for the whole run.
    event->ignore();
}

} // namespace bitloom
