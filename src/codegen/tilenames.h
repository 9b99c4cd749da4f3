#pragma once

#include "model/tilesheet.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The names of tiles: those an imported image's file name gives, and the
// index kept beside an exported sheet, written and read back.
namespace bitloom {

// The name stem of tiles imported from a file with this base name (UTF-8):
// every character that cannot appear in a C identifier becomes '_', one per
// character; a leading digit becomes '_' too, and an empty base name is "_".
std::string tileStem(std::string_view baseName);

// The text kept beside a sheet: "index name" per tile, one a line. Line
// breaks and backslashes in names are written as \n, \r and \\.
std::string sheetIndexText(const std::vector<std::string>& names);

// The names an index text gives, by tile index: the escapes of
// sheetIndexText are read back, and a line may end in "\r\n" as well.
// Lines that are not "index name" (a decimal index below kMaxSheetTiles,
// one space, the name), or whose name holds a NUL character, name nothing;
// of two lines with the same index the later one counts. Positions no line
// names are empty.
std::vector<std::optional<std::string>> parseSheetIndex(std::string_view text);

// Renames the tiles the index names; the others keep their names, and so
// do tiles whose index name holds a line break, which no declaration can.
void nameTiles(std::vector<Tile>& tiles, const std::vector<std::optional<std::string>>& index);

} // namespace bitloom
