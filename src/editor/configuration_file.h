#pragma once
// Configuration files on disk: written whole or not at all, read as lines.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "format/config/parse_configuration.h"
#include "src/toolkit/file_system.h"

namespace velmora {

enum class SaveResult {
    Saved,
    CannotWrite,  // the new text could not be written; any old file is unchanged
    // The new file could not take the old one's place, nor its text be
    // written over it; the old file is unchanged.
    CannotReplace,
    // The text was written over the old file, because no file could be made
    // beside it or the new one could not take its place, and that failed:
    // the old text is back, or could not be put back.
    InPlaceFailed,
    InPlaceDamaged,
    // The platform moved the old file away and then failed to put the new
    // one in its place: the new text stays in the file made beside it.
    LeftBeside,
};

struct SaveOutcome {
    SaveOutcome(SaveResult result = SaveResult::Saved, std::string leftAt = {})
        : result(result), leftAt(std::move(leftAt)) {}
    SaveResult result;
    // LeftBeside, and InPlaceDamaged after a refused replace: the file that
    // holds the new text.
    std::string leftAt;
};

// Writes the configuration to a new file beside `path` and puts it in the
// place of `path` only once it is complete, so that a failed save never
// loses the old file; the file keeps the old one's attributes and security.
// Where no file can be made beside it, or the new one cannot take its
// place, writes over `path` itself, putting the old text back when that
// fails.
SaveOutcome writeConfigurationFile(FileSystem& fs, const std::string& path, const ParseConfiguration& config);

// A new empty file in the folder of `path`, under a name that nothing had;
// nothing when no file can be made there.
std::optional<std::string> createFileBeside(FileSystem& fs, const std::string& path);

// The file's lines; no lines when it cannot be opened, and those read whole
// before a read error that stops it part way.
std::vector<std::string> readLines(FileSystem& fs, const std::string& path);

}  // namespace velmora
