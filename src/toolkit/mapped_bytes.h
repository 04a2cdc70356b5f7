#pragma once
// What a record map control shows: bytes, each on a shade of the field it
// lies in or of what else it is, with texts for the legend, the status
// line and screen readers. The dialog gives one to the control; both hosts
// read it alike.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// What a byte is, for its shade.
enum class MapByte : std::uint8_t { Field, Separator, Between, Unclaimed };

// A shade of the legend: a field's (its index), or one of the others.
struct LegendEntry {
    std::string text;
    MapByte kind = MapByte::Field;
    int field = -1;
};

class MappedBytes {
public:
    virtual ~MappedBytes() = default;
    virtual std::size_t size() const = 0;
    // The field a byte lies in, -1 when none.
    virtual int fieldAt(std::size_t at) const = 0;
    virtual MapByte kindAt(std::size_t at) const = 0;
    // Two hexadecimal digits and a printable character, as they may be shown.
    virtual std::string_view hexAt(std::size_t at) const = 0;
    virtual char charAt(std::size_t at) const = 0;
    // The first byte of a field and its length; 0 bytes when it was not found.
    virtual std::size_t fieldBegin(int field) const = 0;
    virtual std::size_t fieldLength(int field) const = 0;
    // Fixed-length records show a ruler of positions.
    virtual bool fixedLength() const = 0;
    // A rejected record: the byte where the fault was met; size() when none.
    virtual std::size_t faultAt() const = 0;
    virtual std::vector<LegendEntry> legend() const = 0;
    virtual std::string statusLine(int field, std::size_t at) const = 0;
    virtual std::string accessibleText(int field) const = 0;
};

// The caret and the field it selects, the same on both hosts.
struct MapSelection {
    std::size_t caret = 0;
    int field = -1;

    // The byte `at` and the field it lies in.
    void toByte(const MappedBytes& bytes, std::size_t at) {
        caret = at;
        field = at < bytes.size() ? bytes.fieldAt(at) : -1;
    }
    // The field, with the caret on its first byte when it was found.
    void toField(const MappedBytes& bytes, int selected) {
        field = selected;
        if (selected >= 0 && bytes.fieldLength(selected) > 0) caret = bytes.fieldBegin(selected);
    }
};

}  // namespace velmora
