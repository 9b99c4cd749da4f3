#include "spritelistmodel.h"

#include "document/document.h"
#include "io/spriteimage.h"

#include <algorithm>

namespace bitloom {

SpriteListModel::SpriteListModel(QObject* parent) : QAbstractListModel(parent) {}

SpriteListModel* SpriteListModel::following(Document& document, QObject* parent)
{
    auto* list = new SpriteListModel(parent);
    list->setDrawingLookup([&document](int row) { return document.storedDrawing(row); });
    const auto show = [list, &document](const DocumentChange& change) {
        if (change.changes & ListChanged)
            list->setNames(document.listedNames());
        if (change.changes & (ListChanged | NameChanged))
            list->setCurrent(document.listedIndex());
        // Only the drawings that changed are forgotten, to be looked up when
        // shown; a list change forgot them all already.
        if ((change.changes & TableChanged) && !(change.changes & ListChanged))
            list->drawingsChanged(change.changedSprites);
        if (change.changes & CellsChanged)
            list->setCurrentDrawing(document.grid());
    };
    list->mSubscription = document.subscribe(show);
    show({ListChanged | CellsChanged, {}, false, {}});
    return list;
}

int SpriteListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(mNames.size());
}

Qt::ItemFlags SpriteListModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren
                           : Qt::NoItemFlags;
}

QVariant SpriteListModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const int row = index.row();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: return mNames[std::size_t(row)];
    case Qt::DecorationRole: return thumbnail(row);
    case Qt::AccessibleTextRole: {
        const QString position = tr("%1 of %2").arg(row + 1).arg(rowCount());
        const QString& name = mNames[std::size_t(row)];
        return name.isEmpty() ? tr("Unnamed sprite, %1").arg(position)
                              : tr("Sprite %1, %2").arg(name, position);
    }
    default: return {};
    }
}

QImage SpriteListModel::thumbnail(int row) const
{
    QImage& image = mThumbnails[std::size_t(row)];
    if (image.isNull()) {
        if (row == mCurrent && mHasDrawing)
            image = drawingImage(mDrawing);
        else
            image = spriteImage(mLookup ? mLookup(row) : Shades{});
        ++mPainted;
    }
    return image;
}

void SpriteListModel::forget(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    mThumbnails[std::size_t(row)] = QImage();
    const QModelIndex at = index(row);
    emit dataChanged(at, at, {Qt::DecorationRole});
}

void SpriteListModel::setNames(const std::vector<std::string>& names)
{
    std::vector<QString> next;
    next.reserve(names.size());
    for (const std::string& name : names)
        next.push_back(QString::fromStdString(name));

    // The rows between the unchanged start and the unchanged end change:
    // as many as both lists have there are renamed in place, the rest of
    // the old ones removed or of the new ones inserted.
    const std::size_t before = mNames.size(), after = next.size();
    std::size_t head = 0;
    while (head < before && head < after && mNames[head] == next[head])
        ++head;
    std::size_t tail = 0;
    while (tail < before - head && tail < after - head && mNames[before - 1 - tail] == next[after - 1 - tail])
        ++tail;
    const std::size_t removed = before - head - tail, inserted = after - head - tail;
    const std::size_t renamed = std::min(removed, inserted);
    std::copy_n(next.begin() + std::ptrdiff_t(head), renamed, mNames.begin() + std::ptrdiff_t(head));
    const int first = int(head + renamed);
    if (removed > renamed) {
        const int last = int(head + removed) - 1;
        beginRemoveRows({}, first, last);
        mNames.erase(mNames.begin() + first, mNames.begin() + last + 1);
        mThumbnails.erase(mThumbnails.begin() + first, mThumbnails.begin() + last + 1);
        endRemoveRows();
    } else if (inserted > renamed) {
        const int last = int(head + inserted) - 1;
        beginInsertRows({}, first, last);
        mNames.insert(mNames.begin() + first, next.begin() + first, next.begin() + last + 1);
        mThumbnails.insert(mThumbnails.begin() + first, std::size_t(last + 1 - first), QImage());
        endInsertRows();
    }
    if (mCurrent >= rowCount())
        mCurrent = -1;
    allDrawingsChanged();
    emit listShown();
}

void SpriteListModel::setDrawingLookup(DrawingLookup lookup)
{
    mLookup = std::move(lookup);
    allDrawingsChanged();
}

void SpriteListModel::setCurrent(int row)
{
    const int current = row >= 0 && row < rowCount() ? row : -1;
    if (current == mCurrent)
        return;
    const int previous = mCurrent;
    mCurrent = current;
    // Each shows the other drawing now: the old one its stored drawing, the
    // new one the drawing being edited.
    forget(previous);
    forget(current);
    emit currentRowChanged(current, previous);
}

void SpriteListModel::setCurrentDrawing(const Grid& grid)
{
    if (mHasDrawing && grid == mDrawing)
        return;
    mDrawing = grid;
    mHasDrawing = true;
    forget(mCurrent);
}

void SpriteListModel::drawingsChanged(const std::vector<int>& rows)
{
    for (const int row : rows) {
        // The current row shows the drawing being edited, whatever is stored.
        if (row != mCurrent || !mHasDrawing)
            forget(row);
    }
}

void SpriteListModel::allDrawingsChanged()
{
    std::fill(mThumbnails.begin(), mThumbnails.end(), QImage());
    if (rowCount() > 0)
        emit dataChanged(index(0), index(rowCount() - 1));
}

} // namespace bitloom
