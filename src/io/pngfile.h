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
// For a symbolic link, beside the file the link leads to.
QString sheetIndexPath(const QString& sheetPath);

// Whether `path` is an existing pipe, device or socket: written into as it
// is, never replaced by a file.
bool isStreamFile(const QString& path);

// Writes `image` as PNG to `path`, replacing a file only when the whole
// image has been written, and writing into a pipe or a device as such.
// Returns an empty string on success, otherwise a message for the user
// with the system's reason.
QString savePng(const QImage& image, const QString& path);

// Writes one sprite scaled by `scale` (see spriteImage) as PNG.
QString saveSpritePng(const Shades& codes, int scale, const QString& path);

// Writes the sheet of the named sprites as PNG and the index beside it
// ("index name" per line). Both files are written completely before either
// replaces an existing one; a pipe or a device takes the image alone.
// Returns an empty string or a message.
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
    // Pixels that were not one of the four greys and took the nearest one.
    int notGrey = 0;
};
TileImport importTiles(const QString& path);

// The tiles of image bytes (standard input, for one), named "tile0",
// "tile1", ...; `shownName` names the image in messages.
TileImport importTileBytes(const QByteArray& bytes, const QString& shownName);

// What an import or a paste says when `pixels` pixels (at least one) took
// the nearest grey.
QString notGreyText(int pixels);

// The message for an import of the image at `path` that was refused.
QString importRefusalText(const ImportRefusal& refusal, const QString& path);

// The file dialog filter for sprite images.
QString pngFileFilter();

} // namespace bitloom
