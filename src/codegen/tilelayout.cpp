#include "tilelayout.h"

#include <algorithm>

namespace bitloom {

namespace {

struct LayoutFacts {
    TileLayout layout;
    std::string_view id;
    std::string_view menuText;
    std::string_view menuItem;
    int bytes;
};

constexpr std::array<LayoutFacts, 5> kFacts = {{
    {TileLayout::Gb, "gb", "Game Boy (2 bits, interleaved)", "&Game Boy (2 bits, interleaved)", 16},
    {TileLayout::Nes, "nes", "NES (2 bits, planar)", "&NES (2 bits, planar)", 16},
    {TileLayout::Rows, "rows", "1 bit, rows, left bit high", "1 bit, &rows, left bit high", 8},
    {TileLayout::RowsLsb, "rows-lsb", "1 bit, rows, left bit low (XBM)", "1 bit, rows, left bit lo&w (XBM)",
     8},
    {TileLayout::Columns, "columns", "1 bit, columns (OLED pages)", "1 bit, &columns (OLED pages)", 8},
}};

const LayoutFacts& factsOf(TileLayout layout)
{
    return kFacts[static_cast<std::size_t>(layout)];
}

// Bytes of one row of pixels (rows layouts) or of one page (columns).
int strideOf(const TileImage& image)
{
    return image.layout == TileLayout::Columns ? image.width : image.tilesAcross();
}

// Where pixel (x, y) of an image stands; x from the left, y from the top,
// both inside the image.
CellBits pixelBits(const TileImage& image, int x, int y)
{
    const int row = y % 8;
    const int tileStart = y / 8 * 16; // 2-bit layouts: one tile per 8 rows
    switch (image.layout) {
    case TileLayout::Gb: return {tileStart + 2 * row, 7 - x, tileStart + 2 * row + 1, 7 - x};
    case TileLayout::Nes: return {tileStart + row, 7 - x, tileStart + 8 + row, 7 - x};
    case TileLayout::Rows: return {image.header + y * strideOf(image) + x / 8, 7 - x % 8};
    case TileLayout::RowsLsb: return {image.header + y * strideOf(image) + x / 8, x % 8};
    case TileLayout::Columns: return {image.header + y / 8 * image.width + x, y % 8};
    }
    return {};
}

bool bitAt(std::span<const std::uint8_t> array, int byte, int bit)
{
    return byte >= 0 && std::size_t(byte) < array.size() && (array[std::size_t(byte)] >> bit & 1) != 0;
}

void setBit(std::span<std::uint8_t> array, int byte, int bit, bool on)
{
    if (byte < 0 || std::size_t(byte) >= array.size())
        return;
    auto& value = array[std::size_t(byte)];
    value = static_cast<std::uint8_t>(on ? value | 1 << bit : value & ~(1 << bit));
}

Cell shadeAt(const CellBits& cell, std::span<const std::uint8_t> array)
{
    const bool low = bitAt(array, cell.lowByte, cell.lowBit);
    if (cell.highByte < 0)
        return low ? Cell::Black : Cell::White;
    return shadeOfBits(low, bitAt(array, cell.highByte, cell.highBit));
}

} // namespace

std::string_view layoutId(TileLayout layout)
{
    return factsOf(layout).id;
}

std::optional<TileLayout> parseLayoutId(std::string_view id)
{
    for (const LayoutFacts& facts : kFacts) {
        if (facts.id == id)
            return facts.layout;
    }
    return std::nullopt;
}

std::string_view layoutMenuText(TileLayout layout)
{
    return factsOf(layout).menuText;
}

std::string_view layoutMenuItem(TileLayout layout)
{
    return factsOf(layout).menuItem;
}

int bytesPerTile(TileLayout layout)
{
    return factsOf(layout).bytes;
}

bool isOneBit(TileLayout layout)
{
    return bytesPerTile(layout) == 8;
}

std::size_t TileImage::byteCount() const
{
    if (!isOneBit(layout))
        return std::size_t(tilesDown()) * 16;
    const int lines = layout == TileLayout::Columns ? tilesDown() : height;
    return std::size_t(header) + std::size_t(lines) * std::size_t(strideOf(*this));
}

std::optional<TileImage> imageFor(TileLayout layout, std::size_t length, int width, int header, int height)
{
    if (!isOneBit(layout)) {
        if (length == 0 || length % 16 != 0 || length / 2 > std::size_t(1) << 24)
            return std::nullopt;
        const TileImage image{layout, 8, int(length / 16 * 8), 0};
        if (height != 0 && height != image.height)
            return std::nullopt;
        return image;
    }
    if (width <= 0 || width > 1 << 16 || header < 0 || height < 0 || length <= std::size_t(header))
        return std::nullopt;
    TileImage image{layout, width, 0, header};
    const std::size_t data = length - std::size_t(header);
    const auto stride = std::size_t(strideOf(image));
    if (data % stride != 0)
        return std::nullopt;
    const std::size_t lines = data / stride;
    if (lines > std::size_t(1) << 24)
        return std::nullopt;
    if (height != 0) {
        // Pages hold 8 pixel rows each; the last may be partly used.
        const std::size_t expected =
            layout == TileLayout::Columns ? (std::size_t(height) + 7) / 8 : std::size_t(height);
        if (expected != lines)
            return std::nullopt;
        image.height = height;
    } else {
        // Without a height given, the last page is taken as full.
        image.height = int(layout == TileLayout::Columns ? lines * 8 : lines);
    }
    return image;
}

int tileCountFor(TileLayout layout, std::size_t length, int width, int header)
{
    const auto image = imageFor(layout, length, width, header);
    return image ? image->tileCount() : 0;
}

TileBits tileBits(const TileImage& image, int index)
{
    TileBits bits;
    if (image.width <= 0 || index < 0 || index >= image.tileCount())
        return bits; // no cell: reads white, writes nothing
    const int left = index % image.tilesAcross() * 8;
    const int top = index / image.tilesAcross() * 8;
    for (int row = 0; row < 8; ++row) {
        for (int column = 0; column < 8; ++column) {
            const int x = left + column;
            const int y = top + row;
            if (x >= image.width || y >= image.height)
                continue; // padding: stays white, never written
            const CellBits cell = pixelBits(image, x, y);
            bits.cells[std::size_t(cellAt(row, column))] = cell;
            bits.bytes.push_back(cell.lowByte);
            if (cell.highByte >= 0)
                bits.bytes.push_back(cell.highByte);
        }
    }
    std::sort(bits.bytes.begin(), bits.bytes.end());
    bits.bytes.erase(std::unique(bits.bytes.begin(), bits.bytes.end()), bits.bytes.end());
    return bits;
}

Shades readTile(const TileBits& bits, std::span<const std::uint8_t> array)
{
    Shades shades{};
    for (std::size_t k = 0; k < shades.size(); ++k)
        shades[k] = shadeAt(bits.cells[k], array);
    return shades;
}

bool writeTile(const TileBits& bits, const Shades& shades, std::span<std::uint8_t> array)
{
    bool mapped = false;
    for (std::size_t k = 0; k < shades.size(); ++k) {
        const CellBits& cell = bits.cells[k];
        if (cell.lowByte < 0)
            continue;
        const Cell shade = shades[k];
        if (cell.highByte < 0) {
            mapped = mapped || shade == Cell::Grey || shade == Cell::DarkGrey;
            setBit(array, cell.lowByte, cell.lowBit, darkBit(shade));
        } else {
            setBit(array, cell.lowByte, cell.lowBit, lightBit(shade));
            setBit(array, cell.highByte, cell.highBit, darkBit(shade));
        }
    }
    return mapped;
}

std::vector<Shades> readTiles(const TileImage& image, std::span<const std::uint8_t> array)
{
    std::vector<Shades> tiles;
    tiles.reserve(std::size_t(image.tileCount()));
    for (int i = 0; i < image.tileCount(); ++i)
        tiles.push_back(readTile(tileBits(image, i), array));
    return tiles;
}

Shades decodeTile(TileLayout layout, std::span<const std::uint8_t> bytes)
{
    const TileImage one{layout, 8, 8, 0};
    return readTile(tileBits(one, 0), bytes);
}

EncodedTile encodeTile(TileLayout layout, const Shades& shades)
{
    const TileImage one{layout, 8, 8, 0};
    EncodedTile tile;
    tile.bytes.assign(std::size_t(bytesPerTile(layout)), 0);
    tile.mappedShades = writeTile(tileBits(one, 0), shades, tile.bytes);
    return tile;
}

std::vector<Cell> decodeImage(const TileImage& image, std::span<const std::uint8_t> array)
{
    std::vector<Cell> pixels;
    pixels.reserve(std::size_t(image.width) * std::size_t(image.height));
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x)
            pixels.push_back(shadeAt(pixelBits(image, x, y), array));
    }
    return pixels;
}

std::string arrayTileName(std::string_view array, int index)
{
    return std::string(array) + '[' + std::to_string(index) + ']';
}

std::optional<ArrayTileRef> parseArrayTileName(std::string_view name)
{
    const std::size_t open = name.rfind('[');
    if (open == std::string_view::npos || open == 0 || name.size() < open + 3 || name.back() != ']')
        return std::nullopt;
    const std::string_view digits = name.substr(open + 1, name.size() - open - 2);
    if (digits.size() > 1 && digits.front() == '0')
        return std::nullopt;
    int index = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9' || index > (1 << 24))
            return std::nullopt;
        index = index * 10 + (c - '0');
    }
    return ArrayTileRef{name.substr(0, open), index};
}

std::string notATileMessage(const ArrayTileRef& tile)
{
    return arrayTileName(tile.array, tile.index) + " is not a tile of " + std::string(tile.array);
}

std::string twoShadesMessage(std::string_view tile)
{
    return std::string(tile) + " has two shades: white and black";
}

} // namespace bitloom
