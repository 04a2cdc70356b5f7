#pragma once
// The data file a run read, reached again from its database: refused when
// it is gone or has changed since the run, so that the bytes read from it
// are the run's own records.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "format/base/result.h"
#include "src/results/results_database.h"
#include "src/toolkit/file_system.h"

namespace velmora {

class RunDataFile {
public:
    // Fails, saying why in the operator's words, when the run names no
    // data file as it saw it, or the file is gone or differs.
    static Result<RunDataFile> open(FileSystem& files, const ResultsDatabase& database);

    // Each range's bytes, in order, to `each`; false with `why` when the
    // file cannot be read or changed since open(), or `each` said stop
    // (`why` empty).
    bool read(const std::vector<ByteRange>& ranges, const std::function<bool(std::string_view)>& each,
              std::string& why) const;
    // Its name as the operator's screens show it.
    const std::string& path() const { return shownPath_; }
    // The file as the run saw it.
    const FileStamp& stamp() const { return run_.stamp; }
    // Its name as the database gives it (UTF-8).
    const std::string& utf8Path() const { return run_.path; }

private:
    RunDataFile(FileSystem& files, ResultsDatabase::RunData run);
    std::string changed() const;

    FileSystem* files_;
    ResultsDatabase::RunData run_;
    std::string shownPath_;
};

}  // namespace velmora
