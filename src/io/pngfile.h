#pragma once

#include "model/grid.h"
#include "model/tilesheet.h"
#include "spriteimage.h"

#include <QImage>
#include <QString>

#include <optional>
#include <string>
#include <vector>

namespace bitloom {

// Sprites to and from PNG files.

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

} // namespace bitloom
