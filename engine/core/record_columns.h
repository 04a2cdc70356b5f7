#pragma once
// The columns a parse stores for each record: three of the record's own,
// then one per stored field, and one per track after a magnetic-stripe
// field; and the value of each column for one located record. The database
// and the preview both take their columns and values from here.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "format/base/check.h"
#include "format/base/result.h"
#include "format/config/engine_configuration.h"
#include "engine/core/field_locator.h"

namespace velmora {

struct RecordColumn {
    std::string name;  // UTF-8
    int field = -1;    // -1 for the record's own columns
    int track = -1;    // 0..2 for a track column of a MAGSTRIPE_FIELD
};

constexpr int kRecordOwnColumns = 3;  // record_number, byte_offset, length

// The most columns a records table holds, its own three included: SQLite's
// default limit, to which the writer sets its database's.
constexpr int kMostRecordColumns = 2000;

// Why a parse that stores `columns` (the record's own three included) is
// refused; empty when they fit in a records table.
std::string tooManyColumns(size_t columns);

// How a field column's bytes are stored.
enum class ColumnStorage { Integer, Text, Blob };

// Every column gets a name of its own: SQLite compares names without regard
// to ASCII case, so a name that an earlier column already has, in any case,
// gets " (2)", " (3)", ... ("PAN", then "Pan (2)"). A NUL byte, which no
// SQL text can hold, is named "\x00". Always true; `error` is kept for
// callers that check.
bool recordColumns(const EngineConfiguration& config, std::vector<RecordColumn>& columns, std::string& error);

// The records table's column of each field, by field index; empty for an
// IGNORE_FIELD.
std::vector<std::string> fieldColumnNames(const std::vector<RecordColumn>& columns, size_t fieldCount);

// Integer for the record's own columns; Text for TEXT_FIELD, MAGSTRIPE_FIELD
// and track columns (Windows-1252 bytes, stored as UTF-8); Blob otherwise.
ColumnStorage columnStorage(const EngineConfiguration& config, const RecordColumn& column);

// A track column's bytes within its field's.
std::optional<std::string_view> trackValue(std::string_view field, const EngineConfiguration& config,
                                           const RecordColumn& column);

// The bytes of a field column (field >= 0) in a located record, as found in
// the record; nothing when the field or the track is absent (NULL). Asked
// for every column of every record stored: inline.
inline std::optional<std::string_view> columnValue(std::string_view record, const LocatedFields& located,
                                                   const EngineConfiguration& config, const RecordColumn& column) {
    const FieldSlice& slice = located.slices[static_cast<size_t>(column.field)];
    if (!slice.present) return std::nullopt;
    VELMORA_ASSERT(slice.begin + slice.length <= record.size());
    const std::string_view data = record.substr(slice.begin, slice.length);
    if (column.track < 0) return data;
    return trackValue(data, config, column);
}

// What the field columns of a located record take in the database: blobs
// as they are, texts in UTF-8.
uint64_t storedBytes(std::string_view record, const LocatedFields& located, const EngineConfiguration& config,
                     const std::vector<RecordColumn>& columns);

// The fields whose TLV objects (a TESSELGRAM end) or FIR parts (a text
// field when the configuration names FIR separators) are stored beside the
// record, in field order.
struct PartFields {
    explicit PartFields(const EngineConfiguration& config);
    // Calls tlv(field, slice) and fir(field, slice) for each such field the
    // record holds, in order, until one fails.
    template <class Tlv, class Fir>
    Status each(const LocatedFields& located, Tlv tlv, Fir fir) const {
        for (const Part& p : parts_) {
            const FieldSlice& slice = located.slices[p.field];
            if (!slice.present) continue;
            if (p.tlv)
                if (Status stored = tlv(p.field, slice); !stored) return stored;
            if (p.fir)
                if (Status stored = fir(p.field, slice); !stored) return stored;
        }
        return {};
    }

private:
    struct Part {
        size_t field;
        bool tlv, fir;
    };
    std::vector<Part> parts_;
};

}  // namespace velmora
