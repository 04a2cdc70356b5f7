#include "engine/storage/output_paths.h"

#include "engine/os/engine_os.h"

namespace velmora {

std::string partialDatabasePath(const std::string& databasePath) { return databasePath + ".partial"; }

Status databaseClearOfInputs(const std::string& dataPath, const std::string& configPath,
                             const std::string& databasePath) {
    const std::string partial = partialDatabasePath(databasePath);
    for (const std::string* input : {&dataPath, &configPath})
        for (const std::string* output : {&databasePath, &partial})
            if (samePlace(*input, *output)) return fail("the database would overwrite the input file " + *input);
    return {};
}

Status resultsClearOfOthers(const std::string& resultsPath, const std::string& dataPath, const std::string& configPath,
                            const std::string& databasePath) {
    for (const std::string* input : {&dataPath, &configPath})
        if (!input->empty() && samePlace(resultsPath, *input))
            return fail("the results file " + resultsPath + " would overwrite the input file " + *input);
    if (!databasePath.empty())
        for (const std::string& output : {databasePath, partialDatabasePath(databasePath)})
            if (samePlace(resultsPath, output))
                return fail("the results file " + resultsPath + " would overwrite the database " + output);
    return {};
}

}  // namespace velmora
