#include "thumbnailsheet.h"

#include "thumbnail.h"

#include <QEvent>
#include <QKeyEvent>

#include <algorithm>

namespace bitloom {

namespace {
constexpr int kMargin = 4;
constexpr int kSpacing = 4;
} // namespace

ThumbnailSheet::ThumbnailSheet(QWidget* parent) : QWidget(parent)
{
    Thumbnail::installAccessibleFactory();
    setObjectName(QStringLiteral("thumbnails"));
    setFocusPolicy(Qt::NoFocus);
    setAccessibleName(tr("Sprites"));
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

QSize ThumbnailSheet::cell() const
{
    return Thumbnail::cellSize(fontMetrics());
}

int ThumbnailSheet::columnsFor(int width) const
{
    return std::max(1, (width - 2 * kMargin + kSpacing) / (cell().width() + kSpacing));
}

int ThumbnailSheet::heightForWidth(int width) const
{
    if (mThumbnails.empty())
        return 2 * kMargin;
    const int rows = (count() + columnsFor(width) - 1) / columnsFor(width);
    return 2 * kMargin + rows * cell().height() + (rows - 1) * kSpacing;
}

QSize ThumbnailSheet::sizeHint() const
{
    const int width = 2 * kMargin + 8 * cell().width() + 7 * kSpacing;
    return {width, heightForWidth(width)};
}

QSize ThumbnailSheet::minimumSizeHint() const
{
    return {2 * kMargin + cell().width(), 2 * kMargin + cell().height()};
}

void ThumbnailSheet::setSprites(const std::vector<std::string>& names, const std::vector<Shades>& codes,
                                int currentIndex)
{
    const int n = int(std::min(names.size(), codes.size()));
    const int before = count();
    while (count() > n) {
        Thumbnail* gone = mThumbnails.back();
        mThumbnails.pop_back();
        gone->hide();
        gone->deleteLater();
    }
    while (count() < n) {
        auto* added = new Thumbnail(count(), this);
        connect(added, &Thumbnail::clicked, this, &ThumbnailSheet::spriteChosen);
        connect(added, &Thumbnail::focusGained, this, &ThumbnailSheet::setTabStop);
        mThumbnails.push_back(added);
    }

    mCurrent = currentIndex >= 0 && currentIndex < n ? currentIndex : -1;
    for (int i = 0; i < n; ++i) {
        Thumbnail* thumbnail = mThumbnails[std::size_t(i)];
        thumbnail->setName(QString::fromStdString(names[std::size_t(i)]), n);
        thumbnail->setCurrent(i == mCurrent);
        showDrawingOf(i, codes[std::size_t(i)]);
    }

    if (n != before) {
        if (mTabStop >= n || mTabStop < 0)
            setTabStop(n == 0 ? -1 : std::clamp(mCurrent, 0, n - 1));
        relayout();
        for (int i = before; i < n; ++i)
            mThumbnails[std::size_t(i)]->show();
        updateGeometry();
    }
}

void ThumbnailSheet::showDrawingOf(int index, const Shades& codes)
{
    Thumbnail* thumbnail = mThumbnails[std::size_t(index)];
    thumbnail->setDrawing(index == mCurrent && mHasDrawing ? mDrawing : codes);
}

void ThumbnailSheet::setStoredDrawing(int index, const Shades& shades)
{
    if (index >= 0 && index < count())
        showDrawingOf(index, shades);
}

void ThumbnailSheet::setCurrentDrawing(const Grid& grid)
{
    mDrawing = grid;
    mHasDrawing = true;
    if (mCurrent >= 0)
        mThumbnails[std::size_t(mCurrent)]->setDrawing(grid);
}

void ThumbnailSheet::relayout()
{
    const QSize size = cell();
    const int perRow = columns();
    for (int i = 0; i < count(); ++i) {
        const int x = kMargin + (i % perRow) * (size.width() + kSpacing);
        const int y = kMargin + (i / perRow) * (size.height() + kSpacing);
        mThumbnails[std::size_t(i)]->setGeometry(QRect(QPoint(x, y), size));
    }
}

void ThumbnailSheet::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    relayout();
}

void ThumbnailSheet::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        for (Thumbnail* thumbnail : mThumbnails)
            thumbnail->setFont(font());
        relayout();
        updateGeometry();
    }
}

void ThumbnailSheet::setTabStop(int index)
{
    // Only one thumbnail is a Tab stop, so Tab leaves the sheet in one step.
    if (mTabStop >= 0 && mTabStop < count())
        mThumbnails[std::size_t(mTabStop)]->setFocusPolicy(Qt::ClickFocus);
    mTabStop = index;
    if (mTabStop >= 0)
        mThumbnails[std::size_t(mTabStop)]->setFocusPolicy(Qt::StrongFocus);
}

void ThumbnailSheet::moveFocusTo(int index)
{
    if (index < 0 || index >= count())
        return;
    setTabStop(index);
    Thumbnail* thumbnail = mThumbnails[std::size_t(index)];
    thumbnail->setFocus(Qt::OtherFocusReason);
    emit focusMoved(thumbnail);
}

void ThumbnailSheet::keyPressEvent(QKeyEvent* event)
{
    auto* focused = qobject_cast<Thumbnail*>(focusWidget());
    if (!focused || focused->parentWidget() != this) {
        QWidget::keyPressEvent(event);
        return;
    }
    const int at = focused->index();
    const int perRow = columns();
    const bool lastRow = at / perRow == (count() - 1) / perRow;
    switch (event->key()) {
    case Qt::Key_Left: moveFocusTo(at - 1); break;
    case Qt::Key_Right: moveFocusTo(at + 1); break;
    case Qt::Key_Up: moveFocusTo(at - perRow); break;
    // Down from above a gap in the last row lands on its last thumbnail.
    case Qt::Key_Down:
        if (!lastRow)
            moveFocusTo(std::min(at + perRow, count() - 1));
        break;
    case Qt::Key_Home: moveFocusTo(0); break;
    case Qt::Key_End: moveFocusTo(count() - 1); break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space: emit spriteChosen(at); break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

} // namespace bitloom
