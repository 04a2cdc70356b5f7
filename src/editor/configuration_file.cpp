#include "src/editor/configuration_file.h"

#include <cstdio>

#include "format/config/config_format.h"
#include "format/config/config_reader.h"
#include "format/config/path_parts.h"

namespace velmora {

namespace {

// Names to try beside the file: short, so that they fit wherever the file's
// own path nearly fills the limit, and plainly temporary to an operator who
// finds one after a power cut.
constexpr int kTemporaryNames = 0x10000;

std::string temporaryName(int attempt) {
    char name[16];
    std::snprintf(name, sizeof name, "~vdp%04X.tmp", static_cast<unsigned>(attempt));
    return name;
}

bool holds(FileSystem& fs, const std::string& path, const std::string& bytes) { return fs.readFile(path) == bytes; }

// The original program's way: straight over the file. Only the copy of the
// old text read first can undo a write that fails part way.
SaveOutcome writeInPlace(FileSystem& fs, const std::string& path, const std::string& text) {
    switch (fs.exists(path) ? NewFile::NameTaken : fs.createNewFile(path)) {
    case NewFile::Impossible:
        return {SaveResult::CannotWrite};
    case NewFile::Created:
        if (fs.writeFile(path, text) && holds(fs, path, text)) return {};
        fs.deleteFile(path);
        return {SaveResult::CannotWrite};
    case NewFile::NameTaken:
        break;
    }
    auto old = fs.readFile(path);
    if (!old) return {SaveResult::CannotWrite};
    if (fs.writeFile(path, text) && holds(fs, path, text)) return {};
    if (!holds(fs, path, *old)) fs.writeFile(path, *old);
    return {holds(fs, path, *old) ? SaveResult::InPlaceFailed : SaveResult::InPlaceDamaged};
}

}  // namespace

std::optional<std::string> createFileBeside(FileSystem& fs, const std::string& path) {
    PathParts parts = splitPath(path);
    const std::string folder = parts.drive + parts.folder;
    return fs.createFreeFile(kTemporaryNames, [&](int attempt) { return folder + temporaryName(attempt); });
}

SaveOutcome writeConfigurationFile(FileSystem& fs, const std::string& path, const ParseConfiguration& config) {
    const std::string text = configurationText(config);
    const bool hadFile = fs.exists(path);
    auto temp = createFileBeside(fs, path);
    if (!temp) return writeInPlace(fs, path, text);
    // Read the new file back before it replaces the old one: a short write
    // on a full disk must not pass for a saved configuration.
    if (!fs.writeFile(*temp, text) || !holds(fs, *temp, text)) {
        fs.deleteFile(*temp);
        return {SaveResult::CannotWrite};
    }
    if (fs.replaceFile(*temp, path)) return {};
    // The new file may now be the only configuration there is.
    if (hadFile && !fs.exists(path)) return {SaveResult::LeftBeside, *temp};
    // A file held open by a program that shares writing but not deleting
    // refuses to be replaced, yet takes the original program's write.
    SaveOutcome inPlace = writeInPlace(fs, path, text);
    switch (inPlace.result) {
    case SaveResult::Saved:
        break;
    case SaveResult::InPlaceDamaged:
        // The complete new text stays where it is.
        return {SaveResult::InPlaceDamaged, *temp};
    default:
        inPlace = {SaveResult::CannotReplace};
        break;
    }
    fs.deleteFile(*temp);
    return inPlace;
}

std::vector<std::string> readLines(FileSystem& fs, const std::string& path) {
    FileContent content = fs.read(path);
    if (!content.opened) return {};
    return content.whole ? splitLines(content.bytes) : linesReadBeforeError(content.bytes);
}

}  // namespace velmora
