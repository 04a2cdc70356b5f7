#include "src/parse/engine_command_line.h"

namespace velmora {

const char* const kEngineFileName = "ParseTarn.exe";
const char* const kResultsFile = "c:\\temp\\parseResults.txt";

std::string buildEngineCommandLine(const std::string& installDirectory, const std::string& dataFile,
                                   const std::string& configFile) {
    std::string engine = kEngineFileName;
    if (!installDirectory.empty()) {
        std::string folder = installDirectory;
        if (folder.back() != '\\' && folder.back() != '/') folder += '\\';
        engine = "\"" + folder + engine + "\"";
    }
    return engine + " -o " + kResultsFile + " \"" + dataFile + "\" \"" + configFile + "\" ";
}

}  // namespace velmora
