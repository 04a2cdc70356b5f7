#pragma once
// The parser engine's command line: the engine, the results switch and
// file, then the data and configuration paths in double quotes, and one
// trailing blank.
#include <string>

namespace velmora {

extern const char* const kEngineFileName;  // "ParseTarn.exe"
extern const char* const kResultsFile;     // "c:\temp\parseResults.txt"

// A non-empty install folder gets its final backslash when it lacks one,
// and the engine's path is quoted so that Windows does not try the pieces
// of a folder name with blanks ("C:\Program.exe") as programs of their own.
std::string buildEngineCommandLine(const std::string& installDirectory, const std::string& dataFile,
                                   const std::string& configFile);

}  // namespace velmora
