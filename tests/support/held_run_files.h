#pragma once
// The data file and configuration of a run made by parsedDatabase(), held
// in memory as the run saw them, for the dialogs that read them again.
#include "src/headless/memory_file_system.h"
#include "src/results/results_database.h"
#include "tests/support/test_files.h"

namespace velmora::test {

inline void holdRunFiles(MemoryFileSystem& files, const ScratchFolder& folder, const std::string& name) {
    for (const char* extension : {".dat", ".cfg"})
        files.files[folder.path(name + extension)] = folder.read(name + extension);
    auto database = ResultsDatabase::open(folder.path(name + ".mdb"));
    if (database.ok() && (*database)->runData())
        files.stamps[(*database)->runData()->path] = (*database)->runData()->stamp;
}

}  // namespace velmora::test
