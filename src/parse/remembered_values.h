#pragma once
// What the program remembers from one showing to the next: text values
// under the operator's own key, read and written here alone. One operator's
// last sample or database is nothing to another, and a standard user may
// write there.
#include <string>

#include "src/toolkit/registry.h"

namespace velmora {

// Under HKEY_CURRENT_USER.
inline const char* const kRememberedValuesKey = "Software\\Velmora\\VmTarnParser\\Settings";

// The Preview's last sample data file, and the database the last completed
// parse wrote (the Results open on it).
inline const char* const kPreviewDataFileValue = "PreviewDataFile";
inline const char* const kLastDatabaseValue = "LastDatabase";

// The value, or "" when there is none.
std::string rememberedValue(Registry& registry, const char* name);
// Where the key cannot be written the value is simply not remembered:
// nothing to report.
void rememberValue(Registry& registry, const char* name, const std::string& value);

}  // namespace velmora
