#include "editor/configuration_file.h"

#include "config/config_format.h"
#include "config/config_reader.h"

namespace velmora {

std::string savingPathFor(const std::string& path) { return path + ".saving"; }

SaveResult writeConfigurationFile(FileSystem& fs, const std::string& path, const ParseConfiguration& config) {
    const std::string text = configurationText(config);
    const std::string temp = savingPathFor(path);
    // Read the new file back before it replaces the old one: a short write
    // on a full disk must not pass for a saved configuration.
    if (!fs.writeFile(temp, text) || fs.readFile(temp) != text) {
        fs.deleteFile(temp);
        return SaveResult::CannotWrite;
    }
    if (!fs.replaceFile(temp, path)) {
        fs.deleteFile(temp);
        return SaveResult::CannotReplace;
    }
    return SaveResult::Saved;
}

std::vector<std::string> readLines(FileSystem& fs, const std::string& path) {
    FileContent content = fs.read(path);
    if (!content.opened) return {};
    return content.whole ? splitLines(content.bytes) : linesReadBeforeError(content.bytes);
}

}  // namespace velmora
