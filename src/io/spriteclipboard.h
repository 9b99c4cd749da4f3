#pragma once

#include "model/grid.h"

#include <QImage>

#include <optional>
#include <string>

class QMimeData;

namespace bitloom {

// A sprite on the clipboard, both ways: as an 8 x 8 image for image editors
// and as its two declarations for text editors and other sheets.

// The clipboard data of a drawing: the image (also as PNG bytes) and the
// declarations' text.
QMimeData* spriteMimeData(const Shades& drawing, const std::string& declarations);

// A drawing taken from the clipboard, and how many of its pixels were not
// one of the four greys and took the nearest one.
struct PastedDrawing {
    Shades shades{};
    int notGrey = 0;
};

// The drawing an image gives: its top-left 8 x 8 pixels in the nearest
// greys, as an import maps them; none for a smaller or null image.
std::optional<PastedDrawing> imageDrawing(const QImage& image);

// The drawing the clipboard holds: an image, or else text holding a light
// and a dark declaration (the first pair); none for anything else.
std::optional<PastedDrawing> clipboardDrawing(const QMimeData* data);

} // namespace bitloom
