#include "src/toolkit/byte_map_layout.h"

#include <algorithm>

namespace velmora {

int mapBytesPerRow(int cells) { return cells >= mapRowCells(32) ? 32 : 16; }

int mapRowCells(int perRow) { return mapTextCell(perRow, perRow); }

std::size_t mapRowCount(std::size_t bytes, int perRow) {
    return (bytes + static_cast<std::size_t>(perRow) - 1) / static_cast<std::size_t>(perRow);
}

int mapHexCell(int column) { return kMapOffsetCells + 2 + 3 * column; }

// One space more after the hexadecimal, so the two halves read apart.
int mapTextCell(int column, int perRow) { return mapHexCell(perRow) + 1 + column; }

std::size_t mapByteAt(int cell, std::size_t row, int perRow, std::size_t bytes) {
    int column = -1;
    if (cell >= mapHexCell(0) && cell < mapHexCell(perRow) && (cell - mapHexCell(0)) % 3 < 2)
        column = (cell - mapHexCell(0)) / 3;
    else if (cell >= mapTextCell(0, perRow) && cell < mapTextCell(perRow, perRow))
        column = cell - mapTextCell(0, perRow);
    if (column < 0) return std::string::npos;
    const std::size_t at = row * static_cast<std::size_t>(perRow) + static_cast<std::size_t>(column);
    return at < bytes ? at : std::string::npos;
}

std::string mapRowText(const MappedBytes& map, std::size_t row, int perRow) {
    std::string line(static_cast<std::size_t>(mapRowCells(perRow)), ' ');
    const std::size_t first = row * static_cast<std::size_t>(perRow);
    const std::string offset = std::to_string(first);
    line.replace(static_cast<std::size_t>(kMapOffsetCells) - std::min<std::size_t>(offset.size(), kMapOffsetCells),
                 offset.size(), offset);
    for (int c = 0; c < perRow && first + static_cast<std::size_t>(c) < map.size(); ++c) {
        const std::size_t at = first + static_cast<std::size_t>(c);
        line.replace(static_cast<std::size_t>(mapHexCell(c)), 2, map.hexAt(at));
        line[static_cast<std::size_t>(mapTextCell(c, perRow))] = map.charAt(at);
    }
    line.erase(line.find_last_not_of(' ') + 1);
    return line;
}

std::string mapRuler(int perRow) {
    std::string line(static_cast<std::size_t>(mapHexCell(perRow)), ' ');
    for (int c = 0; c < perRow; ++c) {
        const std::string n = std::to_string(c + 1);
        line.replace(static_cast<std::size_t>(mapHexCell(c) + 2) - n.size(), n.size(), n);
    }
    line.erase(line.find_last_not_of(' ') + 1);
    return line;
}

std::size_t movedByte(std::size_t at, MapKey key, std::size_t bytes, int perRow, int page) {
    if (bytes == 0) return 0;
    const std::size_t row = static_cast<std::size_t>(perRow);
    const std::size_t pageBytes = row * static_cast<std::size_t>(std::max(page, 1));
    const std::size_t last = bytes - 1;
    switch (key) {
    case MapKey::Left:
        return at == 0 ? 0 : at - 1;
    case MapKey::Right:
        return std::min(at + 1, last);
    case MapKey::Up:
        return at >= row ? at - row : at;
    case MapKey::Down:
        return at + row <= last ? at + row : at;
    case MapKey::PageUp:
        return at >= pageBytes ? at - pageBytes : at % row;
    case MapKey::PageDown:
        return std::min(at + pageBytes, last);
    case MapKey::Home:
        return 0;
    case MapKey::End:
        return last;
    }
    return at;
}

}  // namespace velmora
