#include "src/viewer/record_map.h"

#include <gtest/gtest.h>

#include "src/toolkit/byte_map_layout.h"

namespace velmora::test {

namespace {

// "x|4111111111111111|AB;" then CR LF: a PAN, a gap, a name, a byte no field takes, the separator.
RecordMap sample(bool full, bool card = true) {
    RecordMapSource s;
    s.record = "x|4111111111111111|AB;";
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
    EXPECT_EQ(kinds, "UU0000000000000000B11USS");
    std::vector<std::string> legend;
    for (const LegendEntry& e : map.legend()) legend.push_back(e.text);
    EXPECT_EQ(legend,
              (std::vector<std::string>{"PAN", "Name", "Chip (not found)", "Between fields", "No field", "Separator"}));
    EXPECT_EQ(map.statusLine(0, 5), "PAN: start 3, length 16, end 18");
    EXPECT_EQ(map.statusLine(2, 0), "Chip: not found");
    EXPECT_EQ(map.statusLine(-1, 18), "Between fields: byte 19");
    EXPECT_EQ(map.statusLine(-1, 23), "Separator: byte 24");
    EXPECT_EQ(map.statusLine(-1, 21), "No field: byte 22");
    EXPECT_EQ(map.accessibleText(1), "Name, offset 19, length 2");
    // Fields out of order may overlap: a byte is the first field's in list order.
    RecordMapSource overlap;
    overlap.record = "abcdef";
    overlap.fields = {{"A", true, 0, 4}, {"B", true, 2, 4}};
    const RecordMap both(overlap);
    EXPECT_EQ(std::vector<int>({both.fieldAt(1), both.fieldAt(3), both.fieldAt(4)}), std::vector<int>({0, 0, 1}));
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
    // A chip's account number (tag 5A, in BCD) and a fault that quotes a number.
    const std::string chip("\x5A\x08\x41\x11\x11\x11\x11\x11\x11\x12", 10);
    s.record = chip;
    s.fields = {{"Chip", true, 0, 10, true}};
    s.fault = "Chip: 4111111111111111 is not allowed";
    s.faultAt = 2;
    const RecordMap masked(s);
    EXPECT_EQ(mapRowText(masked, 0, 16).substr(10, 29), "5A 08 41 11 11 ** ** ** 11 12");
    EXPECT_EQ(masked.statusLine(-1, 2), "The engine stopped here: Chip: 411111******1111 is not allowed");
}

TEST(RecordMapLayout, RowsRulerHitTestAndCaret) {
    EXPECT_EQ(mapBytesPerRow(mapRowCells(32) - 1), 16);
    EXPECT_EQ(mapBytesPerRow(mapRowCells(32)), 32);
    EXPECT_EQ(mapRowCount(33, 16), 3u);
    EXPECT_EQ(mapRowText(sample(true), 1, 16), "      16  31 31 7C 41 42 3B 0D 0A                          11|AB;..");
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
        {mapTextCell(7, 16), 1, 23},
        {mapTextCell(8, 16), 1, std::string::npos},
        {0, 0, std::string::npos},
        {mapHexCell(15) + 2, 0, std::string::npos},
    };
    for (const auto& h : hits) EXPECT_EQ(mapByteAt(h.cell, h.row, 16, 24), h.at) << h.cell << " " << h.row;
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
