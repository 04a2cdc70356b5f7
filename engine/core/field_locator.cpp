#include "engine/core/field_locator.h"

#include <algorithm>

namespace velmora {

namespace {

constexpr size_t npos = std::string_view::npos;

// Where field `f` begins its data, searched from `from`: the first byte of
// its start code (not after it: the code belongs to no field's data), its
// start position, or npos when it names no place after `from`.
size_t boundaryOf(std::string_view record, const FieldPlan& f, size_t from) {
    if (f.start == StartByCode) return record.find(f.startCode, from);
    if (f.start == StartByPosition && f.startPosition - 1 > from && f.startPosition - 1 < record.size())
        return f.startPosition - 1;
    return npos;
}

// End None: up to where the next field begins, or the record's end. In
// order the next field is the following one; otherwise it is whichever
// other field begins nearest after `start`.
size_t openEnd(std::string_view record, const EngineConfiguration& config, size_t index, size_t start) {
    size_t end = npos;
    if (config.fieldsInOrder) {
        if (index + 1 < config.fields.size()) end = boundaryOf(record, config.fields[index + 1], start);
    } else {
        for (size_t j = 0; j < config.fields.size(); ++j)
            if (j != index) end = std::min(end, boundaryOf(record, config.fields[j], start));
    }
    return end == npos ? record.size() : end;
}

bool reject(LocatedFields& out, size_t field, std::string reason) {
    out.rejectedField = static_cast<int>(field);
    out.rejection = std::move(reason);
    return false;
}

}  // namespace

bool locateFields(std::string_view record, const EngineConfiguration& config, LocatedFields& out) {
    const size_t count = config.fields.size();
    out.slices.assign(count, FieldSlice());
    out.tlv.clear();
    out.tlvField.clear();
    out.rejectedField = -1;
    out.rejection.clear();

    size_t cursor = 0;
    for (size_t i = 0; i < count; ++i) {
        const FieldPlan& f = config.fields[i];
        const size_t from = config.fieldsInOrder ? cursor : 0;
        size_t start = from;
        if (f.start == StartByCode) {
            size_t at = record.find(f.startCode, from);
            if (at == npos) continue;  // absent: NULL, the cursor stays
            start = at + f.startCode.size();
        } else if (f.start == StartByPosition) {
            if (f.startPosition - 1 >= record.size()) continue;  // the record has no such byte
            start = f.startPosition - 1;
        }

        const size_t left = record.size() - start;
        size_t begin = start, length = 0, next = 0;
        switch (f.end) {
        case EndByCode: {
            size_t at = record.find(f.endCode, start);
            // A missing end code lets the data run to the record's end.
            length = (at == npos ? record.size() : at) - start;
            next = at == npos ? record.size() : at + f.endCode.size();
            break;
        }
        case EndByFixedLength:
            if (f.fixedLength > left)
                return reject(out, i,
                              "FIXED_LENGTH " + std::to_string(f.fixedLength) + " runs past the end of the record (" +
                                  std::to_string(left) + " bytes left)");
            length = f.fixedLength;
            next = start + length;
            break;
        case EndByEmbeddedLength: {
            if (left < 4)
                return reject(out, i,
                              "the 4-digit length prefix runs past the end of the record (" + std::to_string(left) +
                                  " bytes left)");
            size_t value = 0;
            for (size_t k = 0; k < 4; ++k) {
                char c = record[start + k];
                if (c < '0' || c > '9')
                    return reject(out, i,
                                  "malformed length prefix \"" + std::string(record.substr(start, 4)) +
                                      "\": four decimal digits expected");
                value = value * 10 + static_cast<size_t>(c - '0');
            }
            if (value > left - 4)
                return reject(out, i,
                              "embedded length " + std::to_string(value) + " runs past the end of the record (" +
                                  std::to_string(left - 4) + " bytes left)");
            begin = start + 4;
            length = value;
            next = begin + length;
            break;
        }
        case EndByTesselgram: {
            std::string error;
            size_t size = decodeTlv(record.substr(start), start, out.tlv, error);
            if (size == 0) return reject(out, i, error);
            out.tlvField.resize(out.tlv.size(), static_cast<int>(i));
            length = size;
            next = start + size;
            break;
        }
        case EndNone:
            length = openEnd(record, config, i, start) - start;
            next = start + length;
            break;
        }
        out.slices[i] = FieldSlice{true, begin, length};
        cursor = next;
    }
    return true;
}

}  // namespace velmora
