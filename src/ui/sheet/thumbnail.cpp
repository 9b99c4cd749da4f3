#include "thumbnail.h"

#include "io/spriteimage.h"

#include <QAccessibleWidget>
#include <QMouseEvent>
#include <QPainter>

namespace bitloom {

namespace {
constexpr int kZoom = 4;
constexpr int kImageSide = kGridSide * kZoom;
constexpr int kPad = 4;
constexpr int kWidth = 72;

// A thumbnail is an item of the sheet's list, selected when it is the
// current sprite; its press action chooses it.
class ThumbnailAccessible final : public QAccessibleWidget {
public:
    explicit ThumbnailAccessible(Thumbnail* thumbnail) : QAccessibleWidget(thumbnail, QAccessible::ListItem)
    {
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.selectable = true;
        state.selected = static_cast<Thumbnail*>(widget())->isCurrent();
        return state;
    }

    QStringList actionNames() const override { return QAccessibleWidget::actionNames() << pressAction(); }

    void doAction(const QString& action) override
    {
        if (action == pressAction()) {
            auto* thumbnail = static_cast<Thumbnail*>(widget());
            emit thumbnail->clicked(thumbnail->index());
            return;
        }
        QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface* thumbnailFactory(const QString&, QObject* object)
{
    if (auto* thumbnail = qobject_cast<Thumbnail*>(object))
        return new ThumbnailAccessible(thumbnail);
    if (object && object->objectName() == QLatin1String("thumbnails") && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::List);
    return nullptr;
}

} // namespace

void Thumbnail::installAccessibleFactory()
{
    static const bool installed = [] {
        QAccessible::installFactory(thumbnailFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

Thumbnail::Thumbnail(int index, QWidget* parent) : QWidget(parent), mIndex(index)
{
    installAccessibleFactory();
    setFocusPolicy(Qt::ClickFocus);
    mDrawing.fill(Cell::White);
    mImage = drawingImage(mDrawing);
}

QSize Thumbnail::cellSize(const QFontMetrics& metrics)
{
    return {kWidth, kPad + kImageSide + 2 + kPad + metrics.height() + kPad};
}

void Thumbnail::setName(const QString& name, int count)
{
    if (name == mName && count == mCount)
        return;
    mName = name;
    mCount = count;
    const QString position = tr("%1 of %2").arg(mIndex + 1).arg(count);
    setAccessibleName(name.isEmpty() ? tr("Unnamed sprite, %1").arg(position)
                                     : tr("Sprite %1, %2").arg(name, position));
    update();
}

void Thumbnail::setDrawing(const Grid& colours)
{
    if (colours == mDrawing)
        return;
    mDrawing = colours;
    mImage = drawingImage(mDrawing);
    update(imageRect());
}

void Thumbnail::setCurrent(bool current)
{
    if (current == mCurrent)
        return;
    mCurrent = current;
    update();
    if (QAccessible::isActive()) {
        QAccessible::State changed;
        changed.selected = true;
        QAccessibleStateChangeEvent event(this, changed);
        QAccessible::updateAccessibility(&event);
    }
}

QRect Thumbnail::imageRect() const
{
    return {(width() - kImageSide) / 2, kPad + 1, kImageSide, kImageSide};
}

void Thumbnail::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPalette& colours = palette();
    if (mCurrent)
        painter.fillRect(rect(), colours.color(QPalette::Highlight));

    // A one-pixel frame around the drawing, then the drawing itself with
    // each cell a 4 x 4 square (no smoothing).
    const QRect image = imageRect();
    painter.fillRect(image.adjusted(-1, -1, 1, 1), colours.color(QPalette::WindowText));
    painter.drawImage(image, mImage);

    const QRect text(kPad / 2, image.bottom() + 2 + kPad, width() - kPad, fontMetrics().height());
    painter.setPen(colours.color(mCurrent ? QPalette::HighlightedText : QPalette::WindowText));
    painter.drawText(text, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine,
                     fontMetrics().elidedText(mName, Qt::ElideMiddle, text.width()));

    if (hasFocus()) {
        QPen ring(colours.color(mCurrent ? QPalette::HighlightedText : QPalette::Highlight));
        ring.setWidth(2);
        ring.setJoinStyle(Qt::MiterJoin);
        painter.setPen(ring);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
}

void Thumbnail::mousePressEvent(QMouseEvent* event)
{
    // Accepted, so that the release comes here too.
    mPressed = event->button() == Qt::LeftButton;
    event->accept();
}

void Thumbnail::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click =
        mPressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    mPressed = false;
    if (click)
        emit clicked(mIndex);
}

void Thumbnail::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update();
    emit focusGained(mIndex);
}

void Thumbnail::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}

} // namespace bitloom
