#include "sheetwindow.h"

#include "spritepreview.h"
#include "thumbnailsheet.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QScrollArea>
#include <QVBoxLayout>

namespace bitloom {

SheetWindow::SheetWindow(QWidget* parent)
    : QWidget(parent), mPreview(new SpritePreview), mThumbnails(new ThumbnailSheet),
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
    connect(mThumbnails, &ThumbnailSheet::focusMoved, this,
            [this](QWidget* thumbnail) { mScroll->ensureWidgetVisible(thumbnail, 0, 0); });
}

void SheetWindow::setSprites(const std::vector<std::string>& names,
                             const std::vector<std::array<Code, kCellCount>>& codes,
                             int currentIndex)
{
    mThumbnails->setSprites(names, codes, currentIndex);
}

void SheetWindow::setCurrentDrawing(const Grid& grid)
{
    mPreview->setDrawing(grid);
    mThumbnails->setCurrentDrawing(grid);
}

void SheetWindow::closeEvent(QCloseEvent* event)
{
    // Like the editor and the code window, it stays for the whole run.
    event->ignore();
}

} // namespace bitloom
