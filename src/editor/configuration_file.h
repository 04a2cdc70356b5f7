#pragma once
// Configuration files on disk: written whole or not at all, read as lines.
#include <string>
#include <vector>

#include "config/parse_configuration.h"
#include "toolkit/file_system.h"

namespace velmora {

enum class SaveResult { Saved, CannotWrite, CannotReplace };

// Writes the configuration to a new file beside `path` and moves it over
// `path` only once it is complete, so a failed save never loses the old file.
SaveResult writeConfigurationFile(FileSystem& fs, const std::string& path, const ParseConfiguration& config);

// The name of the file written beside `path` while saving.
std::string savingPathFor(const std::string& path);

// The file's lines; no lines when it cannot be opened, and those read whole
// before a read error that stops it part way.
std::vector<std::string> readLines(FileSystem& fs, const std::string& path);

}  // namespace velmora
