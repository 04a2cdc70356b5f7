#pragma once
// What the program remembers from one showing to the next: text values
// under its Settings key, read and written here alone.
#include <string>

#include "toolkit/registry.h"

namespace velmora {

// The Preview's last sample data file, and the database the last completed
// parse wrote (the Results open on it).
inline const char* const kPreviewDataFileValue = "PreviewDataFile";
inline const char* const kLastDatabaseValue = "LastDatabase";

// The value, or "" when there is none.
std::string rememberedValue(Registry& registry, const char* name);
// Where the operator may not write the key the value is simply not
// remembered: nothing to report.
void rememberValue(Registry& registry, const char* name, const std::string& value);

}  // namespace velmora
