#pragma once
// Finds each field of one record by its start and end methods.
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/ber_tlv.h"
#include "config/engine_configuration.h"

namespace velmora {

struct FieldSlice {
    bool present = false;  // false: the start was not found (NULL)
    size_t begin = 0;      // in the record
    size_t length = 0;
};

struct LocatedFields {
    std::vector<FieldSlice> slices;  // one per field, in list order
    std::vector<TlvObject> tlv;      // of the TESSELGRAM fields, in list order
    std::vector<int> tlvField;       // the field index of each TLV object
    int rejectedField = -1;          // the field at fault when rejected
    std::string rejection;           // empty when the record is sound
};

// Locates every field of `record`; returns false when the record is
// rejected, with the field and the reason in `out`. `out` is reused from
// record to record to spare allocations.
bool locateFields(std::string_view record, const EngineConfiguration& config, LocatedFields& out);

}  // namespace velmora
