#pragma once
// Configurations for the tests, made and read through the system's own
// writer and strict reader, so that a test never spells out a file format of
// its own.
#include <string>
#include <vector>

#include "format/config/engine_configuration.h"
#include "format/config/parse_configuration.h"

namespace velmora::test {

FieldDef field(const std::string& name, const std::string& startType, const std::string& startData,
               const std::string& endType, const std::string& endData, const std::string& fieldType,
               const std::string& fieldTypeData = "");

// Appends `f` as the configuration's last field.
void addRow(ParseConfiguration& c, const FieldDef& f);

// The file text the editor writes for these settings and fields.
std::string configText(const std::string& fixedLength, const std::string& recordSeparator,
                       const std::vector<FieldDef>& fields, bool inOrder = true, const std::string& fir = "");

// The configuration the engine runs, from that text; fails the test when
// the strict reader refuses it.
EngineConfiguration engineConfig(const std::string& text);

}  // namespace velmora::test
