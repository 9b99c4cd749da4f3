#pragma once

#include "model/cell.h"

#include <QWidget>

namespace bitloom {

// A square of the grid or the palette: it paints its cell's colour and a
// one-pixel border (flat for grid cells, sunken for palette cells) and
// reports the mouse. It takes no focus of its own accord; the editor lends
// the keyboard focus to one grid cell, which then shows a focus ring.
class CellWidget : public QWidget {
    Q_OBJECT
public:
    enum class Frame { Flat, Sunken };

    CellWidget(int index, Frame frame, QWidget* parent);

    int index() const { return mIndex; }
    // Sunken cells are the palette's, flat ones the grid's.
    Frame frame() const { return mFrame; }
    // The shade it shows, or unpainted.
    Cell colour() const { return mColour; }
    void setColour(Cell colour);

signals:
    // A button went down; `pos` is in pixels from the cell's top-left corner.
    void pressed(int index, Qt::MouseButton button, QPointF pos);
    // A press and release of the left button within the cell.
    void clicked(int index);
    // A button went up, wherever the pointer is.
    void released(int index, Qt::MouseButton button);
    // The pointer moved; `pos` is in pixels, relative to the cell.
    void moved(int index, QPoint pos, Qt::MouseButtons buttons);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    int mIndex;
    Frame mFrame;
    Cell mColour = Cell::Unpainted;
};

} // namespace bitloom
