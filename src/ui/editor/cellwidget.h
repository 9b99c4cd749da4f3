#pragma once

#include "model/colour.h"

#include <QWidget>

namespace bitloom {

// A coloured square of the grid or the palette: it paints its colour and a
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
    Colour colour() const { return mColour; }
    void setColour(Colour colour);

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
    Colour mColour = kInitialCellColour;
};

} // namespace bitloom
