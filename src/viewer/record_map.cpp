#include "src/viewer/record_map.h"

#include <algorithm>

#include "engine/core/ber_tlv.h"
#include "format/base/check.h"

namespace velmora {

RecordMap::RecordMap(const RecordMapSource& source)
    : fields_(source.fields),
      owner_(source.record.size() + source.separator.size(), -1),
      recordSize_(source.record.size()),
      fixedLength_(source.fixedLength),
      fault_(source.fault),
      faultAt_(source.fault.empty() ? owner_.size() : std::min(source.faultAt, source.record.size())) {
    for (const MapField& f : fields_) VELMORA_ASSERT(!f.found || f.begin + f.length <= recordSize_);
    claim();
    std::string all(source.record);
    all += source.separator;
    mask(all, source.full);
    // A reason may quote the record's bytes.
    maskCardText(fault_, cardMask(source.full, false));
}

// Each byte to the first field that takes it; the span from the first
// field's start to the last one's end holds the bytes between fields.
void RecordMap::claim() {
    firstField_ = recordSize_;
    for (std::size_t k = fields_.size(); k-- > 0;) {
        const MapField& f = fields_[k];
        if (!f.found) continue;
        std::fill(owner_.begin() + static_cast<std::ptrdiff_t>(f.begin),
                  owner_.begin() + static_cast<std::ptrdiff_t>(f.begin + f.length), static_cast<int>(k));
        firstField_ = std::min(firstField_, f.begin);
        lastFieldEnd_ = std::max(lastFieldEnd_, f.begin + f.length);
    }
}

// Card numbers anywhere in the record as in any text, a card-number field's
// bytes as one number and a chip field's by the objects that hold them.
void RecordMap::mask(std::string_view bytes, bool full) {
    hex_ = hexBytes(bytes);
    if (!full) {
        maskTextHex(bytes, CardMask::InText, hex_);
        for (const MapField& f : fields_) {
            if (!f.found) continue;
            const std::string_view data = bytes.substr(f.begin, f.length);
            if (f.chip)
                maskTlvHex(data, CardMask::InText, hex_, 2 * f.begin);
            else if (f.card)
                maskTextHex(data, CardMask::Whole, hex_, 2 * f.begin);
        }
    }
    text_.resize(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        const bool hidden = hex_[2 * i] == '*' || hex_[2 * i + 1] == '*';
        text_[i] = hidden ? '*' : (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '.';
    }
}

MapByte RecordMap::kindAt(std::size_t at) const {
    if (at >= recordSize_) return MapByte::Separator;
    if (owner_[at] >= 0) return MapByte::Field;
    return at >= firstField_ && at < lastFieldEnd_ ? MapByte::Between : MapByte::Unclaimed;
}

std::size_t RecordMap::fieldBegin(int field) const { return fields_[static_cast<std::size_t>(field)].begin; }

std::size_t RecordMap::fieldLength(int field) const {
    const MapField& f = fields_[static_cast<std::size_t>(field)];
    return f.found ? f.length : 0;
}

std::vector<LegendEntry> RecordMap::legend() const {
    std::vector<LegendEntry> entries;
    for (std::size_t k = 0; k < fields_.size(); ++k)
        entries.push_back(
            {fields_[k].name + (fields_[k].found ? "" : " (not found)"), MapByte::Field, static_cast<int>(k)});
    entries.push_back({"Between fields", MapByte::Between, -1});
    entries.push_back({"No field", MapByte::Unclaimed, -1});
    if (size() > recordSize_) entries.push_back({"Separator", MapByte::Separator, -1});
    return entries;
}

std::string RecordMap::statusLine(int field, std::size_t at) const {
    if (field >= 0) {
        const MapField& f = fields_[static_cast<std::size_t>(field)];
        if (!f.found) return f.name + ": not found";
        return f.name + ": start " + std::to_string(f.begin + 1) + ", length " + std::to_string(f.length) + ", end " +
               std::to_string(f.begin + f.length);
    }
    if (at >= size()) return "";
    if (at == faultAt_) return "The engine stopped here: " + fault_;
    if (kindAt(at) == MapByte::Field) return statusLine(owner_[at], at);  // the caret's byte, no field chosen
    const char* const what[] = {"", "Separator", "Between fields", "No field"};
    return std::string(what[static_cast<int>(kindAt(at))]) + ": byte " + std::to_string(at + 1);
}

std::string RecordMap::accessibleText(int field) const {
    if (field < 0) return "No field";
    const MapField& f = fields_[static_cast<std::size_t>(field)];
    if (!f.found) return f.name + ", not found";
    return f.name + ", offset " + std::to_string(f.begin) + ", length " + std::to_string(f.length);
}

}  // namespace velmora
