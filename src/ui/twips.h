#pragma once

#include "ui/editor/layout.h"

#include <QPointF>
#include <QRect>

// The design is in twips; the screen in logical pixels. All conversions
// between the two go through these functions.
namespace bitloom::twips {

inline constexpr int kPerPixel = 15;

constexpr int toPixels(int twips)
{
    // Round to the nearest pixel (twips are never negative in the layout).
    return (twips + kPerPixel / 2) / kPerPixel;
}

inline QRect toPixels(const layout::Rect& rect)
{
    return {toPixels(rect.left), toPixels(rect.top), toPixels(rect.width), toPixels(rect.height)};
}

inline QPointF fromPixels(QPointF pixels)
{
    return pixels * kPerPixel;
}

} // namespace bitloom::twips
