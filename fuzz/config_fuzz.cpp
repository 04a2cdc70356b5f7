// Any bytes as a configuration file: reading must neither crash nor hang,
// whatever was read must be writable, and once saved, a configuration whose
// rows the editor could have made reads back to itself, so nothing grows or
// drifts with each save.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "format/config/config_checks.h"
#include "format/config/config_format.h"
#include "format/config/config_reader.h"
#include "format/fields/keywords.h"
#include "format/fields/sentinels.h"

using namespace velmora;

namespace {
ParseConfiguration readText(const std::string& text) {
    ParseConfiguration config;
    applyConfigurationLines(splitLines(text), config);
    return config;
}
bool digits(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

// Keywords and numbers where the editor puts them; any text elsewhere.
bool editorMadeRows(const ParseConfiguration& config) {
    for (const FieldDef& f : config.fieldDefs.rows()) {
        bool start = f.startType == kw::None || f.startType == kw::StartCode ||
                     (f.startType == kw::StartPosition && digits(f.startData));
        bool end = f.endType == kw::None || f.endType == kw::EndCode || f.endType == kw::EmbeddedLength ||
                   f.endType == kw::Tesselgram || (f.endType == kw::FixedLength && digits(f.endData));
        bool type = false;
        for (int i = 0; i < kFieldTypeCount; ++i) type = type || f.fieldType == fieldTypeFromIndex(i);
        if (!start || !end || !type) return false;
        // The tuple cannot hold a sentinel with "))": it would close the group.
        if (isMagstripeType(f.fieldType)) {
            Sentinels values = sentinelsFromText(f.fieldTypeData);
            for (int i = 0; i < kSentinelCount; ++i)
                if (values.at(i).find("))") != std::string::npos) return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    ParseConfiguration first = readText(bytes);
    checkFileSettings(first, first.fieldDefs.rowCount(), true);
    std::string saved = configurationText(first);
    ParseConfiguration second = readText(saved);
    if (editorMadeRows(first) && editorMadeRows(second) && configurationText(second) != saved) std::abort();

    // The slot readers from every position of the input as one line.
    for (size_t start = 0; start < bytes.size() && start < 64; ++start) {
        size_t pos = start;
        std::string text;
        while (readSlot(bytes, pos, text)) {
            if (pos > bytes.size()) std::abort();
        }
        pos = start;
        readGroup(bytes, pos, text);
    }
    return 0;
}
