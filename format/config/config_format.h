#pragma once
// The text of a configuration file, byte for byte. The engine and the
// issuers' existing files rely on this exact form.
#include <optional>
#include <string>
#include <vector>

#include "format/config/parse_configuration.h"

namespace velmora {

// Every double quote becomes a backslash and a double quote.
std::string escapeQuotes(const std::string& text);

// The FieldDef line of one field, or nothing for a field type the format
// does not know.
std::optional<std::string> formatFieldDef(const FieldDef& field);

// The lines of the file in order, without line ends.
std::vector<std::string> formatConfiguration(const ParseConfiguration& config);

// The lines joined, each ended by CR LF: the file's bytes.
std::string configurationText(const ParseConfiguration& config);

}  // namespace velmora
