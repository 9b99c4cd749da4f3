#include "sheetwindow.h"

#include "document/document.h"
#include "spritelistmodel.h"
#include "spritepreview.h"
#include "thumbnailview.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace bitloom {

SheetWindow::SheetWindow(Document& document, SpriteListModel* sprites, QWidget* parent)
    : QWidget(parent),
      mDocument(document),
      mSprites(sprites ? sprites : SpriteListModel::following(document, this)),
      mPreview(new SpritePreview),
      mThumbnails(new ThumbnailView)
{
    setObjectName(QStringLiteral("sprites"));
    setWindowTitle(tr("Sprites"));
    mThumbnails->setModel(mSprites);

    auto* previewColumn = new QVBoxLayout;
    previewColumn->addWidget(mPreview);
    previewColumn->addStretch();

    auto* box = new QHBoxLayout(this);
    box->setContentsMargins(4, 4, 4, 4);
    box->addLayout(previewColumn);
    box->addWidget(mThumbnails, 1);

    connect(mThumbnails, &ThumbnailView::spriteChosen, this, &SheetWindow::spriteChosen);
    connect(this, &SheetWindow::spriteChosen, this, [this](int index) { mDocument.chooseName(index); });

    mSubscription = mDocument.subscribe([this](const DocumentChange& change) {
        if (change.changes & CellsChanged)
            mPreview->setDrawing(mDocument.grid());
    });
    mPreview->setDrawing(mDocument.grid());
}

void SheetWindow::closeEvent(QCloseEvent* event)
{
    // Like the editor and the code window, it stays for the whole run.
    event->ignore();
}

} // namespace bitloom
