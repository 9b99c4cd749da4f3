#include "thumbnailview.h"

#include "model/grid.h"
#include "spritelistmodel.h"

#include <QAbstractItemDelegate>
#include <QEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>

#include <algorithm>

namespace bitloom {

namespace {
constexpr int kZoom = 4;
constexpr int kImageSide = kGridSide * kZoom;
constexpr int kPad = 4;
constexpr int kWidth = 72;
constexpr int kSpacing = 4;

QSize thumbnailSize(const QFontMetrics& metrics)
{
    return {kWidth, kPad + kImageSide + 2 + kPad + metrics.height() + kPad};
}

// Paints one thumbnail from its row: the drawing is asked for only here, so
// only rows in view are ever painted.
class ThumbnailDelegate final : public QAbstractItemDelegate {
public:
    using QAbstractItemDelegate::QAbstractItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        return thumbnailSize(option.fontMetrics);
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QRect cell = option.rect;
        const QPalette& colours = option.palette;
        const bool current = option.state & QStyle::State_Selected;
        painter->save();
        if (current)
            painter->fillRect(cell, colours.color(QPalette::Highlight));

        // A one-pixel frame around the drawing, then the drawing itself with
        // each cell a 4 x 4 square (no smoothing).
        const QRect image(cell.left() + (cell.width() - kImageSide) / 2, cell.top() + kPad + 1, kImageSide,
                          kImageSide);
        painter->fillRect(image.adjusted(-1, -1, 1, 1), colours.color(QPalette::WindowText));
        // The view's painter may smooth scaled images: cells stay square.
        painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter->drawImage(image, index.data(Qt::DecorationRole).value<QImage>());

        const QFontMetrics& metrics = option.fontMetrics;
        const QRect text(cell.left() + kPad / 2, image.bottom() + 2 + kPad, cell.width() - kPad,
                         metrics.height());
        painter->setPen(colours.color(current ? QPalette::HighlightedText : QPalette::WindowText));
        painter->drawText(text, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine,
                          metrics.elidedText(index.data().toString(), Qt::ElideMiddle, text.width()));

        if (option.state & QStyle::State_HasFocus) {
            QPen ring(colours.color(current ? QPalette::HighlightedText : QPalette::Highlight));
            ring.setWidth(2);
            ring.setJoinStyle(Qt::MiterJoin);
            painter->setPen(ring);
            painter->setBrush(Qt::NoBrush);
            painter->drawRect(QRectF(cell).adjusted(1, 1, -1, -1));
        }
        painter->restore();
    }
};

} // namespace

ThumbnailView::ThumbnailView(QWidget* parent) : QListView(parent)
{
    setObjectName(QStringLiteral("thumbnails"));
    setAccessibleName(tr("Sprites"));
    setViewMode(QListView::IconMode);
    setMovement(QListView::Static);
    setFlow(QListView::LeftToRight);
    setWrapping(true);
    setResizeMode(QListView::Adjust);
    setUniformItemSizes(true);
    setSpacing(kSpacing);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragDropMode(QAbstractItemView::NoDragDrop);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::NoFocus);
    setItemDelegate(new ThumbnailDelegate(this));

    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        if (index.isValid())
            emit spriteChosen(index.row());
    });
}

void ThumbnailView::setModel(QAbstractItemModel* model)
{
    QListView::setModel(model);
    mSprites = qobject_cast<SpriteListModel*>(model);
    if (!model)
        return;
    verticalScrollBar()->setSingleStep(cellSize().height() / 2);
    if (mSprites)
        connect(mSprites, &SpriteListModel::currentRowChanged, this, &ThumbnailView::showCurrentRow);
    connect(model, &QAbstractItemModel::rowsInserted, this, &ThumbnailView::followCount);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &ThumbnailView::followCount);
    connect(model, &QAbstractItemModel::modelReset, this, &ThumbnailView::followCount);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& selected) {
                if (mShowingCurrent)
                    return;
                // Only assistive technology selects: it chooses that sprite,
                // and the highlight stays with the current one.
                if (!selected.indexes().isEmpty())
                    emit spriteChosen(selected.indexes().front().row());
                showCurrentRow();
            });
    followCount();
    showCurrentRow();
}

void ThumbnailView::showCurrentRow()
{
    if (!model())
        return;
    const QScopedValueRollback showing(mShowingCurrent, true);
    const int row = mSprites ? mSprites->currentRow() : -1;
    if (row >= 0)
        selectionModel()->select(model()->index(row, 0), QItemSelectionModel::ClearAndSelect);
    else
        selectionModel()->clearSelection();
}

void ThumbnailView::followCount()
{
    const int count = model() ? model()->rowCount() : 0;
    // The view is a Tab stop only with thumbnails in it; the focus starts
    // on the current sprite.
    setFocusPolicy(count > 0 ? Qt::StrongFocus : Qt::NoFocus);
    if (count > 0 && !currentIndex().isValid()) {
        const int row = std::clamp(mSprites ? mSprites->currentRow() : 0, 0, count - 1);
        selectionModel()->setCurrentIndex(model()->index(row, 0), QItemSelectionModel::NoUpdate);
    }
    // Rows removed before the current one move it: the highlight follows.
    showCurrentRow();
}

QSize ThumbnailView::cellSize() const
{
    return thumbnailSize(fontMetrics());
}

int ThumbnailView::columns() const
{
    const int count = model() ? model()->rowCount() : 0;
    if (count < 2)
        return std::max(1, (viewport()->width() - kSpacing) / (cellSize().width() + kSpacing));
    // Read from the laid-out rows: the thumbnails that share the first's row.
    const_cast<ThumbnailView*>(this)->executeDelayedItemsLayout();
    const int top = visualRect(model()->index(0, 0)).top();
    int perRow = 1;
    while (perRow < count && visualRect(model()->index(perRow, 0)).top() == top)
        ++perRow;
    return perRow;
}

QSize ThumbnailView::sizeHint() const
{
    const QSize cell = cellSize();
    return {kSpacing + 8 * (cell.width() + kSpacing) + verticalScrollBar()->sizeHint().width(),
            kSpacing + 2 * (cell.height() + kSpacing)};
}

QSize ThumbnailView::minimumSizeHint() const
{
    const QSize cell = cellSize();
    return {2 * kSpacing + cell.width(), 2 * kSpacing + cell.height()};
}

QModelIndex ThumbnailView::moveCursor(CursorAction action, Qt::KeyboardModifiers)
{
    const int count = model() ? model()->rowCount() : 0;
    if (count == 0)
        return {};
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return model()->index(std::clamp(mSprites ? mSprites->currentRow() : 0, 0, count - 1), 0);
    const int at = current.row();
    const int perRow = columns();
    const bool lastRow = at / perRow == (count - 1) / perRow;
    int to = at;
    switch (action) {
    case MoveLeft:
    case MovePrevious: to = at - 1; break;
    case MoveRight:
    case MoveNext: to = at + 1; break;
    case MoveUp: to = at - perRow; break;
    // Down from above a gap in the last row lands on its last thumbnail.
    case MoveDown: to = lastRow ? at : std::min(at + perRow, count - 1); break;
    case MoveHome: to = 0; break;
    case MoveEnd: to = count - 1; break;
    case MovePageUp:
    case MovePageDown: break;
    }
    return to >= 0 && to < count ? model()->index(to, 0) : current;
}

QItemSelectionModel::SelectionFlags ThumbnailView::selectionCommand(const QModelIndex&, const QEvent*) const
{
    // Clicks and keys move the focus; the selection is the current sprite.
    return QItemSelectionModel::NoUpdate;
}

void ThumbnailView::keyPressEvent(QKeyEvent* event)
{
    CursorAction action;
    switch (event->key()) {
    case Qt::Key_Left: action = MoveLeft; break;
    case Qt::Key_Right: action = MoveRight; break;
    case Qt::Key_Up: action = MoveUp; break;
    case Qt::Key_Down: action = MoveDown; break;
    case Qt::Key_Home: action = MoveHome; break;
    case Qt::Key_End: action = MoveEnd; break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (currentIndex().isValid())
            emit spriteChosen(currentIndex().row());
        event->accept();
        return;
    default:
        // No search by typing and no copying of names: other keys are the
        // window's, as they were.
        QWidget::keyPressEvent(event);
        return;
    }
    const QModelIndex to = moveCursor(action, event->modifiers());
    if (to.isValid())
        setCurrentIndex(to);
    event->accept();
}

void ThumbnailView::changeEvent(QEvent* event)
{
    QListView::changeEvent(event);
    if (event->type() == QEvent::FontChange && model())
        verticalScrollBar()->setSingleStep(cellSize().height() / 2);
}

} // namespace bitloom
