#pragma once

#include <QIcon>
#include <QWidget>

namespace bitloom {

// A picture at its natural size with an optional one-pixel border; reports
// clicks and the pointer passing over it. Used for the two tools and the
// colour marker.
class ToolImage : public QWidget {
    Q_OBJECT
public:
    ToolImage(const QIcon& picture, QWidget* parent);

    bool hasBorder() const { return mBorder; }
    void setBorder(bool border);

signals:
    void clicked();
    void hovered();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QIcon mIcon; // finds the @2x picture for dense screens
    bool mBorder = false;
};

} // namespace bitloom
