#include "tests/support/configurations.h"

#include <gtest/gtest.h>

#include "format/config/config_format.h"
#include "format/config/strict_config_reader.h"

namespace velmora::test {

FieldDef field(const std::string& name, const std::string& startType, const std::string& startData,
               const std::string& endType, const std::string& endData, const std::string& fieldType,
               const std::string& fieldTypeData) {
    return FieldDef{name, startType, startData, endType, endData, fieldType, fieldTypeData};
}

void addRow(ParseConfiguration& c, const FieldDef& f) { c.fieldDefs.insertRow(c.fieldDefs.rowCount(), f); }

std::string configText(const std::string& fixedLength, const std::string& recordSeparator,
                       const std::vector<FieldDef>& fields, bool inOrder, const std::string& fir) {
    ParseConfiguration c;
    c.fixedLength = fixedLength;
    c.recordSeparator = recordSeparator;
    c.firSeparator = fir;
    c.processFir = !fir.empty();
    c.fieldsInOrder = inOrder;
    for (const FieldDef& f : fields) addRow(c, f);
    return configurationText(c);
}

EngineConfiguration engineConfig(const std::string& text) {
    ConfigReading r = readStrictConfiguration(text);
    EXPECT_TRUE(r.ok) << r.failureText() << "\n" << text;
    return r.config;
}

}  // namespace velmora::test
