#pragma once
// The record map: one record's bytes, each stored field's on a shade of its
// own, with the way from a byte to its field and from a field to its bytes.
// The spans are the engine's (the Preview's locator, the stored values'
// places), so the map shows the bytes as the engine reads them. Card data
// are hidden by the one masking rule before any byte is shown.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "src/results/card_numbers.h"

namespace velmora {

// A stored field's place in its record.
struct MapField {
    std::string name;  // in the program's code page
    bool found = false;
    std::size_t begin = 0, length = 0;
    bool chip = false;  // BER-TLV data
    bool card = false;  // a card-number column
};

struct RecordMapSource {
    std::string_view record;     // without its separator
    std::string_view separator;  // the bytes that ended it, shown after it
    bool fixedLength = false;    // positions count from 1 on a ruler
    std::vector<MapField> fields;
    // A rejected record: "Field: reason", and the byte where the engine
    // stopped (after the last field it found).
    std::string fault;
    std::size_t faultAt = 0;
    bool full = false;  // card numbers in full
};

// What a byte is, for its shade.
enum class MapByte : std::uint8_t { Field, Separator, Between, Unclaimed };

// A shade of the legend: a field's (its index), or one of the others.
struct LegendEntry {
    std::string text;
    MapByte kind = MapByte::Field;
    int field = -1;
};

class RecordMap {
public:
    RecordMap() = default;
    explicit RecordMap(const RecordMapSource& source);

    std::size_t size() const { return owner_.size(); }
    std::size_t recordSize() const { return recordSize_; }
    const std::vector<MapField>& fields() const { return fields_; }
    bool fixedLength() const { return fixedLength_; }
    const std::string& fault() const { return fault_; }
    std::size_t faultAt() const { return faultAt_; }

    // The field a byte lies in, -1 when none; the first in list order when
    // fields overlap.
    int fieldAt(std::size_t at) const { return owner_[at]; }
    MapByte kindAt(std::size_t at) const;
    // Two hexadecimal digits and a printable character, card data hidden
    // as "*".
    std::string_view hexAt(std::size_t at) const { return std::string_view(hex_).substr(2 * at, 2); }
    char charAt(std::size_t at) const;

    std::vector<LegendEntry> legend() const;
    // "PAN: start 17, length 16, end 32" (1-based positions, as the
    // configuration counts them), "PAN: not found"; for no field, what the
    // byte is.
    std::string statusLine(int field, std::size_t at) const;
    // What a screen reader says of the selection: the field's name, offset
    // and length.
    std::string accessibleText(int field) const;

private:
    void claim();
    void mask(std::string_view record, bool full);

    std::vector<MapField> fields_;
    std::vector<int> owner_;  // per byte
    std::string hex_;         // per byte two digits, card data as "*"
    std::string text_;        // per byte its character, card data as "*"
    std::size_t recordSize_ = 0, firstField_ = 0, lastFieldEnd_ = 0;
    bool fixedLength_ = false;
    std::string fault_;
    std::size_t faultAt_ = 0;
};

}  // namespace velmora
