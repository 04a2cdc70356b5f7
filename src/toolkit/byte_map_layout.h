#pragma once
// How a record map lies on screen, in character cells of a fixed-pitch
// font: a row is the offset within the record, the bytes in hexadecimal
// and the same bytes as text; 32 bytes a row when the width holds them,
// else 16. The host turns cells into pixels; the rows, the ruler, the hit
// test and the caret's moves are the same on both hosts.
#include <cstddef>
#include <string>

#include "src/toolkit/mapped_bytes.h"

namespace velmora {

constexpr int kMapOffsetCells = 8;  // "   65535" then a space

// Bytes a row for a width of `cells` characters.
int mapBytesPerRow(int cells);
// Characters a row of `perRow` bytes takes.
int mapRowCells(int perRow);
std::size_t mapRowCount(std::size_t bytes, int perRow);

// The first cell of byte column `column` in the hexadecimal, and in the text.
int mapHexCell(int column);
int mapTextCell(int column, int perRow);

// The byte under cell `cell` of row `row`, in either half; npos when none.
std::size_t mapByteAt(int cell, std::size_t row, int perRow, std::size_t bytes);

// "    16  4A 4F ...  JO..": one row as text, card data hidden.
std::string mapRowText(const MappedBytes& map, std::size_t row, int perRow);

// The positions of a row's columns, 1-based as a fixed-length
// configuration counts them, over the hexadecimal: a byte's position is
// its row's offset plus its column's number.
std::string mapRuler(int perRow);

enum class MapKey { Left, Right, Up, Down, PageUp, PageDown, Home, End };

// Where the caret goes from byte `at` on `key`, within `bytes` bytes
// (`page` rows a page).
std::size_t movedByte(std::size_t at, MapKey key, std::size_t bytes, int perRow, int page);

}  // namespace velmora
