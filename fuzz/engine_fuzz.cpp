// libFuzzer target over the engine's strict configuration reader and its
// record cutter and field locator. The input is a configuration file, then
// a zero byte, then a data file.
#include <cstddef>
#include <algorithm>
#include <cstdint>
#include <string>

#include "engine/core/ber_tlv.h"
#include "engine/core/text/cp1252.h"
#include "engine/core/field_locator.h"
#include "engine/core/fir_parts.h"
#include "engine/core/magstripe_tracks.h"
#include "engine/core/record_columns.h"
#include "engine/core/record_cutter.h"
#include "format/config/strict_config_reader.h"

namespace {

using namespace velmora;

// End None the plain way, every other field tried, as the locator's answer
// must be: where the next field begins after `start`, or the record's end.
size_t plainOpenEnd(std::string_view record, const EngineConfiguration& config, size_t index, size_t start) {
    auto boundary = [&](const FieldPlan& f) {
        if (f.start == StartMethod::ByCode) return record.find(f.startCode, start);
        if (f.start == StartMethod::ByPosition && f.startPosition - 1 > start && f.startPosition - 1 < record.size())
            return f.startPosition - 1;
        return std::string_view::npos;
    };
    size_t end = std::string_view::npos;
    if (config.fieldsInOrder) {
        if (index + 1 < config.fields.size()) end = boundary(config.fields[index + 1]);
    } else {
        for (size_t j = 0; j < config.fields.size(); ++j)
            if (j != index) end = std::min(end, boundary(config.fields[j]));
    }
    return end == std::string_view::npos ? record.size() : end;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    std::string input(reinterpret_cast<const char*>(bytes), size);
    size_t zero = input.find('\0');
    std::string data = zero == std::string::npos ? "" : input.substr(zero + 1);
    ConfigReading reading = readStrictConfiguration(input.substr(0, zero));
    if (!reading.ok) return 0;
    const EngineConfiguration& config = reading.config;
    std::vector<RecordColumn> columns;
    std::string error;
    recordColumns(config, columns, error);

    // Small limits and reads so that records cross reads and overflow.
    RecordLimits limits;
    limits.largestRecord = 64;
    limits.readSize = 7;
    MemorySource source(data);
    RecordCutter cutter(source, config.recordLength, config.separator, limits);
    CutRecord record;
    FieldLocator locator(config);  // one for all records, as the pipeline keeps it
    LocatedFields located;
    std::string text;
    uint64_t total = 0;
    while (cutter.next(record)) {
        total += record.length;
        if (!record.rejection.empty() || !locator.locate(record.bytes, located)) continue;
        for (size_t i = 0; i < located.slices.size(); ++i) {
            const FieldSlice& s = located.slices[i];
            if (!s.present) continue;
            if (s.begin + s.length > record.bytes.size()) __builtin_trap();
            std::string_view value = record.bytes.substr(s.begin, s.length);
            if (config.fields[i].end == EndMethod::None &&
                s.begin + s.length != plainOpenEnd(record.bytes, config, i, s.begin))
                __builtin_trap();
            if (config.fields[i].end == EndMethod::ByCode &&
                s.begin + s.length !=
                    std::min(record.bytes.size(), record.bytes.find(config.fields[i].endCode, s.begin)))
                __builtin_trap();
            text.clear();
            appendCp1252AsUtf8(value, text);
            magstripeTracks(value, config.fields[i].sentinels);
            if (!config.firSeparators.empty()) {
                FirParts parts(value, config.firSeparators);
                for (std::string_view part; parts.next(part);) {
                }
            }
            if (config.fields[i].end != EndMethod::Tesselgram) continue;
            // A located TESSELGRAM field decodes again, whole, inside its slice.
            std::string malformed;
            size_t whole = decodeTlv(value, s.begin, malformed, [&](const TlvObject& o) {
                if (o.offset + o.headerLength + o.valueLength > s.begin + s.length) __builtin_trap();
                tagHex(record.bytes, o);
                return true;
            });
            if (whole != s.length) __builtin_trap();
        }
    }
    // Every byte lands in a record, a separator or an empty record.
    if (total > data.size() || cutter.bytesRead() != data.size()) __builtin_trap();
    return 0;
}
