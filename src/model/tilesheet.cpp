#include "tilesheet.h"

#include <algorithm>
#include <cstdlib>

namespace bitloom {

namespace {

// Luminance in thousandths, so that comparisons are exact integers.
constexpr int luminance(int r, int g, int b)
{
    return 299 * r + 587 * g + 114 * b;
}

// The grey level (red, green and blue alike) each shade is drawn in,
// white first.
constexpr int kShadeGreys[kShadeCount] = {0xFF, 0x80, 0x40, 0x00};

constexpr int shadeLuminance(int code)
{
    const int grey = kShadeGreys[code];
    return luminance(grey, grey, grey);
}

bool transparentTile(const std::vector<Rgba>& pixels, int width, PixelPoint origin)
{
    for (int y = 0; y < kTileSide; ++y) {
        for (int x = 0; x < kTileSide; ++x) {
            const auto at = std::size_t(origin.y + y) * std::size_t(width) + std::size_t(origin.x + x);
            if (pixels[at].a >= kOpaqueEnough)
                return false;
        }
    }
    return true;
}

} // namespace

Cell nearestShade(Rgba pixel)
{
    if (pixel.a < kOpaqueEnough)
        return Cell::White;
    const int y = luminance(pixel.r, pixel.g, pixel.b);
    int best = 0;
    int bestDistance = std::abs(y - shadeLuminance(0));
    // The shades run from light to dark, so a strict comparison keeps the
    // lighter one on a tie.
    for (int code = 1; code < kShadeCount; ++code) {
        const int distance = std::abs(y - shadeLuminance(code));
        if (distance < bestDistance) {
            best = code;
            bestDistance = distance;
        }
    }
    return shadeOfCode(best);
}

bool isPaletteGrey(Rgba pixel)
{
    if (pixel.a != 255 || pixel.g != pixel.r || pixel.b != pixel.r)
        return false;
    return std::find(std::begin(kShadeGreys), std::end(kShadeGreys), int(pixel.r)) != std::end(kShadeGreys);
}

int pixelsNotGrey(const std::vector<Rgba>& pixels, int width, int count)
{
    const int columns = width / kTileSide;
    int found = 0;
    for (int index = 0; columns > 0 && index < count; ++index) {
        const PixelPoint origin{(index % columns) * kTileSide, (index / columns) * kTileSide};
        for (int y = origin.y; y < origin.y + kTileSide; ++y) {
            for (int x = origin.x; x < origin.x + kTileSide; ++x) {
                const auto at = std::size_t(y) * std::size_t(width) + std::size_t(x);
                if (at < pixels.size() && !isPaletteGrey(pixels[at]))
                    ++found;
            }
        }
    }
    return found;
}

std::string tileName(std::string_view stem, int index)
{
    return std::string(stem) + std::to_string(index);
}

std::optional<ImportRefusal> sizeRefusal(int width, int height)
{
    using Reason = ImportRefusal::Reason;
    if (width <= 0 || height <= 0)
        return ImportRefusal{Reason::Empty, width, height};
    if (width > kMaxImportSide || height > kMaxImportSide)
        return ImportRefusal{Reason::TooLarge, width, height};
    if (width % kTileSide != 0 || height % kTileSide != 0)
        return ImportRefusal{Reason::NotTileAligned, width, height};
    return std::nullopt;
}

std::vector<Tile> cutTiles(const std::vector<Rgba>& pixels, int width, int height, std::string_view stem)
{
    const int columns = width / kTileSide;
    const int rows = height / kTileSide;
    if (columns <= 0 || rows <= 0 || pixels.size() < std::size_t(width) * std::size_t(height))
        return {};

    int count = columns * rows;
    // A sheet written by this program is 16 tiles wide and fills the rest
    // of its last row with transparent pixels; those cells are no sprites.
    if (columns == kSheetColumns && rows > 1) {
        const int lastRowStart = (rows - 1) * columns;
        while (count > lastRowStart + 1 && transparentTile(pixels, width, tileOrigin(count - 1)))
            --count;
    }

    std::vector<Tile> tiles(static_cast<std::size_t>(count));
    for (int index = 0; index < count; ++index) {
        Tile& tile = tiles[std::size_t(index)];
        tile.name = tileName(stem, index);
        const PixelPoint origin{(index % columns) * kTileSide, (index / columns) * kTileSide};
        for (int cell = 0; cell < kCellCount; ++cell) {
            const int x = origin.x + columnFromLeft(cell);
            const int y = origin.y + rowOf(cell);
            tile.shades[std::size_t(cell)] =
                nearestShade(pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)]);
        }
    }
    return tiles;
}

std::optional<ImportRefusal> roomRefusal(const std::vector<Tile>& tiles,
                                         const std::vector<std::string>& existingNames, int freeEntries)
{
    // A name that several tiles share needs one entry.
    std::vector<std::string_view> fresh;
    for (const Tile& tile : tiles) {
        if (std::find(existingNames.begin(), existingNames.end(), tile.name) == existingNames.end()
            && std::find(fresh.begin(), fresh.end(), tile.name) == fresh.end())
            fresh.push_back(tile.name);
    }
    const auto newNames = fresh.size();
    if (int(newNames) <= freeEntries)
        return std::nullopt;
    ImportRefusal refusal{ImportRefusal::Reason::NoRoom};
    refusal.tiles = int(tiles.size());
    refusal.newNames = int(newNames);
    refusal.freeEntries = freeEntries;
    return refusal;
}

PixelSize sheetSize(int count)
{
    if (count <= 0)
        return {};
    const int columns = std::min(count, kSheetColumns);
    const int rows = (count + kSheetColumns - 1) / kSheetColumns;
    return {columns * kTileSide, rows * kTileSide};
}

PixelPoint tileOrigin(int index)
{
    return {(index % kSheetColumns) * kTileSide, (index / kSheetColumns) * kTileSide};
}

} // namespace bitloom
