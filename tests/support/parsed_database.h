#pragma once
// A database as a real parse writes it: the engine's own run, in-process;
// and one changed as no parse would change it.
#include <string>

#include "src/results/results_database.h"
#include "tests/support/test_files.h"

namespace velmora::test {

// Parses `data` by the configuration text `config` into NAME.mdb in
// `folder`; its path. Fails the test when the run does not complete.
std::string parsedDatabase(const ScratchFolder& folder, const std::string& name, const std::string& config,
                           const std::string& data);

// The data file and configuration of the run NAME, held in `files` (the
// in-memory file system) as the run saw them.
template <class MemoryFiles>
void holdRunFiles(MemoryFiles& files, const ScratchFolder& folder, const std::string& name) {
    for (const char* extension : {".dat", ".cfg"})
        files.files[folder.path(name + extension)] = folder.read(name + extension);
    auto database = ResultsDatabase::open(folder.path(name + ".mdb"));
    if (database.ok() && (*database)->runData())
        files.stamps[(*database)->runData()->path] = (*database)->runData()->stamp;
}

// Runs `sql` on the database at `path` as it is, read and written; fails the
// test when SQLite refuses it. For files no parse would write.
void changeDatabase(const std::string& path, const std::string& sql);

}  // namespace velmora::test
