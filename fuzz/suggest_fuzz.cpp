// Any bytes as a sample data file, whole or the start of a longer one: the
// suggestion always says why it made its choices or why it made none, and
// what it suggests, the editor's save checks pass and the engine's strict
// reader gives back exactly.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "format/config/config_checks.h"
#include "format/config/config_format.h"
#include "format/config/strict_config_reader.h"
#include "engine/core/suggest/suggestion.h"

using namespace velmora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view sample(reinterpret_cast<const char*>(data), size);
    for (bool wholeFile : {true, false}) {
        const Suggestion s = suggestConfiguration(sample, wholeFile);
        if (s.reasons.empty()) std::abort();
        if (!s.found) continue;
        const ParseConfiguration& c = s.configuration;
        if (checkFileSettings(c, c.fieldDefs.rowCount(), !c.fixedLength.empty())) std::abort();
        const std::string text = configurationText(c);
        const ConfigReading reading = readStrictConfiguration(text);
        if (!reading.ok || configurationText(reading.config.text) != text) std::abort();
    }
    return 0;
}
