#pragma once

#include "model/grid.h"
#include "model/tilesheet.h"

#include <QImage>
#include <QString>

#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace bitloom {

// Sprites to and from image files.

// Scale factors offered for exporting one sprite.
inline constexpr std::array<int, 4> kExportScales = {1, 2, 4, 8};

// One sprite in the four greys, 8 x 8 pixels times `scale` (a whole factor,
// at least 1). Shades outside 0 to 3 are drawn white.
QImage spriteImage(const Shades& codes, int scale = 1);

// A drawing as it is shown: palette colours in their greys, unpainted cells
// in the colour the editor shows them in. 8 x 8 pixels.
QImage drawingImage(const Grid& grid);

// The sheet of `sprites`: 8 x 8 tiles in list order, 16 to a row; the rest
// of the last row is transparent. A null image for no sprites.
QImage sheetImage(const std::vector<Shades>& sprites);

// The index file kept beside a sheet: same folder and base name, ".txt".
QString sheetIndexPath(const QString& sheetPath);

// Writes `image` as PNG to `path`, replacing the file only when the whole
// image has been written. Returns an empty string on success, otherwise a
// message for the user.
QString savePng(const QImage& image, const QString& path);

// Writes one sprite scaled by `scale` (see spriteImage) as PNG.
QString saveSpritePng(const Shades& codes, int scale, const QString& path);

// Writes the sheet of the named sprites as PNG and the index beside it
// ("index name" per line). Both files are written completely before either
// replaces an existing one. Returns an empty string or a message.
QString saveSheetPng(const std::vector<std::string>& names, const std::vector<Shades>& codes,
                     const QString& path);

// The tiles of an image file, or why it cannot be read as tiles; `refusal`
// is empty exactly when it can. Tiles are named after the file's base name
// and their index, or, where the index file beside the image (see
// sheetIndexPath) names them, as it does. Whether the sheet has room for them is the document's
// question (Document::importRefusal).
struct TileImport {
    std::vector<Tile> tiles;
    QString refusal;
};
TileImport importTiles(const QString& path);

// The message for an import of the image at `path` that was refused.
QString importRefusalText(const ImportRefusal& refusal, const QString& path);

// The file dialog filter for sprite images.
QString pngFileFilter();

// Asks for the scale of a sprite export; none when the user cancels.
std::optional<int> askExportScale(QWidget* parent);

} // namespace bitloom
