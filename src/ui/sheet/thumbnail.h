#pragma once

#include "model/grid.h"

#include <QImage>
#include <QWidget>

namespace bitloom {

// One sprite of the sheet window: its drawing at 4x in a frame, its name
// underneath (elided in the middle when long), a highlight when it is the
// current sprite and a ring when it has the focus. A click chooses it.
class Thumbnail : public QWidget {
    Q_OBJECT
public:
    Thumbnail(int index, QWidget* parent);

    // Gives thumbnails and their sheet list roles for assistive technology.
    static void installAccessibleFactory();

    // The size of every thumbnail for the given font.
    static QSize cellSize(const QFontMetrics& metrics);

    int index() const { return mIndex; }
    const QString& name() const { return mName; }
    bool isCurrent() const { return mCurrent; }
    const QImage& image() const { return mImage; }

    // Each setter repaints only when something changed.
    void setName(const QString& name, int count);
    void setDrawing(const Grid& colours);
    void setCurrent(bool current);

signals:
    void clicked(int index);
    void focusGained(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QRect imageRect() const;

    int mIndex;
    int mCount = 0;
    QString mName;
    Grid mDrawing{};
    QImage mImage;
    bool mCurrent = false;
    bool mPressed = false;
};

} // namespace bitloom
