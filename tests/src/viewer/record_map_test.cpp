#include "src/viewer/record_map.h"

#include <gtest/gtest.h>

#include "src/toolkit/byte_map_layout.h"

namespace velmora::test {

namespace {

// "|4111111111111111|AB" then CR LF: a PAN, a gap, a name, the separator.
RecordMap sample(bool full, bool card = true) {
    RecordMapSource s;
    s.record = "x|4111111111111111|AB";
    s.separator = "\r\n";
    s.fields = {{"PAN", true, 2, 16, false, card}, {"Name", true, 19, 2}, {"Chip", false, 0, 0, true}};
    s.full = full;
    return RecordMap(s);
}

}  // namespace

TEST(RecordMap, EachByteKnowsItsFieldAndShade) {
    const RecordMap map = sample(true);
    std::string kinds;
    for (std::size_t at = 0; at < map.size(); ++at)
        kinds += map.kindAt(at) == MapByte::Field ? char('0' + map.fieldAt(at)) : "?SBU"[int(map.kindAt(at))];
    EXPECT_EQ(kinds, "UU0000000000000000B11SS");
    std::vector<std::string> legend;
    for (const LegendEntry& e : map.legend()) legend.push_back(e.text);
    EXPECT_EQ(legend,
              (std::vector<std::string>{"PAN", "Name", "Chip (not found)", "Between fields", "No field", "Separator"}));
    EXPECT_EQ(map.statusLine(0, 5), "PAN: start 3, length 16, end 18");
    EXPECT_EQ(map.statusLine(2, 0), "Chip: not found");
    EXPECT_EQ(map.statusLine(-1, 18), "Between fields: byte 19");
    EXPECT_EQ(map.statusLine(-1, 22), "Separator: byte 23");
    EXPECT_EQ(map.accessibleText(1), "Name, offset 19, length 2");
}

TEST(RecordMap, CardNumbersAreHiddenInBothHalvesUnlessShownInFull) {
    const struct {
        bool full, card;
        const char* row;
    } cases[] = {
        {true, true, "       0  78 7C 34 31 31 31 31 31 31 31 31 31 31 31 31 31  x|41111111111111"},
        {false, true, "       0  78 7C 34 31 31 31 31 31 ** ** ** ** ** ** 31 31  x|411111******11"},
        {false, false, "       0  78 7C 34 31 31 31 31 31 ** ** ** ** ** ** 31 31  x|411111******11"},
    };
    for (const auto& c : cases) EXPECT_EQ(mapRowText(sample(c.full, c.card), 0, 16), c.row) << c.full << c.card;
    // A card-number field's digits are one number even when they fail the Luhn check.
    RecordMapSource s;
    s.record = "1234567890123";
    s.fields = {{"PAN", true, 0, 13, false, true}};
    EXPECT_EQ(mapRowText(RecordMap(s), 0, 16).substr(std::size_t(mapTextCell(0, 16))), "123456***0123");
}

TEST(RecordMapLayout, RowsRulerHitTestAndCaret) {
    EXPECT_EQ(mapBytesPerRow(mapRowCells(32) - 1), 16);
    EXPECT_EQ(mapBytesPerRow(mapRowCells(32)), 32);
    EXPECT_EQ(mapRowCount(33, 16), 3u);
    EXPECT_EQ(mapRowText(sample(true), 1, 16), "      16  31 31 7C 41 42 0D 0A                             11|AB..");
    EXPECT_EQ(mapRuler(16).substr(0, 20), "           1  2  3  ");
    EXPECT_EQ(mapRuler(16).size(), static_cast<std::size_t>(mapHexCell(15) + 2));
    const struct {
        int cell;
        std::size_t row, at;
    } hits[] = {
        {mapHexCell(0), 0, 0},
        {mapHexCell(0) + 1, 0, 0},
        {mapHexCell(0) + 2, 0, std::string::npos},
        {mapHexCell(3), 1, 19},
        {mapTextCell(6, 16), 1, 22},
        {mapTextCell(7, 16), 1, std::string::npos},
        {0, 0, std::string::npos},
        {mapHexCell(15) + 2, 0, std::string::npos},
    };
    for (const auto& h : hits) EXPECT_EQ(mapByteAt(h.cell, h.row, 16, 23), h.at) << h.cell << " " << h.row;
    const struct {
        std::size_t from;
        MapKey key;
        std::size_t to;
    } moves[] = {
        {0, MapKey::Left, 0},       {5, MapKey::Right, 6},   {99, MapKey::Right, 99}, {20, MapKey::Up, 4},
        {4, MapKey::Up, 4},         {4, MapKey::Down, 20},   {90, MapKey::Down, 90},  {5, MapKey::PageDown, 69},
        {90, MapKey::PageDown, 99}, {70, MapKey::PageUp, 6}, {20, MapKey::PageUp, 4}, {50, MapKey::Home, 0},
        {3, MapKey::End, 99},
    };
    for (const auto& m : moves) EXPECT_EQ(movedByte(m.from, m.key, 100, 16, 4), m.to) << m.from << " " << int(m.key);
}

}  // namespace velmora::test
