#include "spriteclipboard.h"

#include "codegen/spritecopy.h"
#include "io/pngfile.h"
#include "model/tilesheet.h"

#include <QBuffer>
#include <QMimeData>

namespace bitloom {

namespace {

const QString kPngType = QStringLiteral("image/png");

} // namespace

QMimeData* spriteMimeData(const Shades& drawing, const std::string& declarations)
{
    auto* data = new QMimeData;
    const QImage image = spriteImage(drawing);
    data->setImageData(image);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (image.save(&buffer, "PNG"))
        data->setData(kPngType, png);
    data->setText(QString::fromStdString(declarations));
    return data;
}

std::optional<PastedDrawing> imageDrawing(const QImage& image)
{
    if (image.isNull() || image.width() < kGridSide || image.height() < kGridSide)
        return std::nullopt;
    const QImage pixels = image.convertToFormat(QImage::Format_ARGB32);
    PastedDrawing drawing;
    for (int row = 0; row < kGridSide; ++row) {
        for (int column = 0; column < kGridSide; ++column) {
            const QRgb pixel = pixels.pixel(column, row);
            const Rgba rgba{std::uint8_t(qRed(pixel)), std::uint8_t(qGreen(pixel)),
                            std::uint8_t(qBlue(pixel)), std::uint8_t(qAlpha(pixel))};
            drawing.shades[std::size_t(cellAt(row, column))] = nearestShade(rgba);
            if (!isPaletteGrey(rgba))
                ++drawing.notGrey;
        }
    }
    return drawing;
}

std::optional<PastedDrawing> clipboardDrawing(const QMimeData* data)
{
    if (!data)
        return std::nullopt;
    if (data->hasImage()) {
        if (auto drawing = imageDrawing(qvariant_cast<QImage>(data->imageData())))
            return drawing;
    }
    if (data->hasFormat(kPngType)) {
        if (auto drawing = imageDrawing(QImage::fromData(data->data(kPngType), "PNG")))
            return drawing;
    }
    if (data->hasText()) {
        if (auto drawing = firstDeclaredDrawing(data->text().toStdString()))
            return PastedDrawing{*drawing, 0};
    }
    return std::nullopt;
}

} // namespace bitloom
