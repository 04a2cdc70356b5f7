#pragma once
// Where a run writes: the database, the temporary file it is written under,
// the results file; and the checks that none of them lands on an input or
// on another.
#include <string>

#include "format/base/result.h"

namespace velmora {

// The temporary name the database is written under until the run completes.
std::string partialDatabasePath(const std::string& databasePath);

// Fails, saying why, when the database or its temporary file would replace
// an input.
Status databaseClearOfInputs(const std::string& dataPath, const std::string& configPath,
                             const std::string& databasePath);

// Fails, saying why, when the results file would replace an input, the
// database or its temporary file.
Status resultsClearOfOthers(const std::string& resultsPath, const std::string& dataPath, const std::string& configPath,
                            const std::string& databasePath);

}  // namespace velmora
