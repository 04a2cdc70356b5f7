// libFuzzer target over the engine's strict configuration reader and its
// record cutter and field locator. The input is a configuration file, then
// a zero byte, then a data file.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/core/cp1252.h"
#include "engine/core/field_locator.h"
#include "engine/core/fir_parts.h"
#include "engine/core/magstripe_tracks.h"
#include "engine/core/record_columns.h"
#include "engine/core/record_cutter.h"
#include "config/strict_config_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    using namespace velmora;
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
    LocatedFields located;
    std::string text;
    std::vector<std::string_view> parts;
    uint64_t total = 0;
    while (cutter.next(record)) {
        total += record.length;
        if (!record.rejection.empty() || !locateFields(record.bytes, config, located)) continue;
        for (size_t i = 0; i < located.slices.size(); ++i) {
            const FieldSlice& s = located.slices[i];
            if (!s.present) continue;
            if (s.begin + s.length > record.bytes.size()) __builtin_trap();
            std::string_view value = record.bytes.substr(s.begin, s.length);
            text.clear();
            appendCp1252AsUtf8(value, text);
            magstripeTracks(value, config.fields[i].sentinels);
            if (!config.firSeparators.empty()) splitAtAny(value, config.firSeparators, parts);
        }
        for (const TlvObject& o : located.tlv) {
            if (o.offset + o.headerLength + o.valueLength > record.bytes.size()) __builtin_trap();
            tagHex(record.bytes, o);
        }
    }
    // Every byte lands in a record, a separator or an empty record.
    if (total > data.size() || cutter.bytesRead() != data.size()) __builtin_trap();
    return 0;
}
