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
#include "src/toolkit/mapped_bytes.h"

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

class RecordMap : public MappedBytes {
public:
    RecordMap() = default;
    explicit RecordMap(const RecordMapSource& source);

    std::size_t recordSize() const { return recordSize_; }
    const std::vector<MapField>& fields() const { return fields_; }
    const std::string& fault() const { return fault_; }

    // MappedBytes. A byte lies in the first field in list order that takes
    // it, when fields overlap; card data show as "*".
    std::size_t size() const override { return owner_.size(); }
    int fieldAt(std::size_t at) const override { return owner_[at]; }
    MapByte kindAt(std::size_t at) const override;
    std::string_view hexAt(std::size_t at) const override { return std::string_view(hex_).substr(2 * at, 2); }
    char charAt(std::size_t at) const override { return text_[at]; }
    std::size_t fieldBegin(int field) const override;
    std::size_t fieldLength(int field) const override;
    bool fixedLength() const override { return fixedLength_; }
    std::size_t faultAt() const override { return faultAt_; }
    std::vector<LegendEntry> legend() const override;
    // "PAN: start 17, length 16, end 32" (1-based positions, as the
    // configuration counts them), "PAN: not found"; for no field, what the
    // byte is.
    std::string statusLine(int field, std::size_t at) const override;
    // The field's name, offset and length.
    std::string accessibleText(int field) const override;

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
