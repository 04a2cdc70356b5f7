#include "src/viewer/run_data_file.h"

#include "engine/core/text/cp1252.h"

namespace velmora {

RunDataFile::RunDataFile(FileSystem& files, ResultsDatabase::RunData run) : files_(&files), run_(std::move(run)) {
    appendUtf8AsCp1252(run_.path, shownPath_);
}

std::string RunDataFile::changed() const {
    return "The data file " + shownPath_ +
           " has changed since the run (its size or last-write time differ), so its records are no longer the "
           "run's.";
}

Result<RunDataFile> RunDataFile::open(FileSystem& files, const ResultsDatabase& database) {
    std::optional<ResultsDatabase::RunData> run = database.runData();
    if (!run)
        return fail(
            "This database does not say which data file the run read and as it was then: it was made by an older "
            "ParseTarn, or from a pipe.");
    RunDataFile file(files, std::move(*run));
    const std::optional<FileStamp> now = files.stamp(file.run_.path);
    if (!now) return fail("The data file " + file.shownPath_ + " is gone or cannot be opened.");
    if (*now != file.run_.stamp) return fail(file.changed());
    return file;
}

bool RunDataFile::read(const std::vector<ByteRange>& ranges, const std::function<bool(std::string_view)>& each,
                       std::string& why) const {
    bool stopped = false;
    auto handed = [&](std::string_view bytes) {
        stopped = !each(bytes);
        return !stopped;
    };
    if (files_->readRanges(run_.path, run_.stamp, ranges, handed, why)) return true;
    if (stopped) {
        why.clear();
    } else if (why.empty()) {
        why = changed();
    } else {
        why = "The data file " + shownPath_ + " cannot be read: " + why;
    }
    return false;
}

}  // namespace velmora
