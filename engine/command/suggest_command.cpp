#include "engine/command/suggest_command.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "format/config/byte_escapes.h"
#include "format/config/config_format.h"
#include "engine/core/suggest/suggestion.h"
#include "engine/command/engine_main.h"
#include "engine/os/engine_os.h"

namespace velmora {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// The start of the file, one byte past the sample's limit, so that the
// sample knows whether it is the whole file.
bool readSample(const std::string& path, std::string& bytes, std::string& error) {
    const std::string shown = escapeBytes(path, Escaping::Controls);
    if (isFolder(path)) {
        error = "the data file " + shown + " is a folder";
        return false;
    }
    std::unique_ptr<std::FILE, FileCloser> f(std::fopen(path.c_str(), "rb"));
    if (!f) {
        error = "cannot open the data file " + shown + ": " + std::strerror(errno);
        return false;
    }
    bytes.resize(kSuggestionSampleBytes + 1);
    bytes.resize(std::fread(&bytes[0], 1, bytes.size(), f.get()));
    if (std::ferror(f.get())) {
        error = "cannot read the data file " + shown;
        return false;
    }
    return true;
}

}  // namespace

int runSuggestion(const std::string& dataPath, std::ostream& out, std::ostream& errors) {
    std::string sample, error;
    if (!readSample(dataPath, sample, error)) {
        errors << "No suggestion: " << error << "." << std::endl;
        return ExitFailed;
    }
    const Suggestion suggestion = suggestConfiguration(sample, sample.size() <= kSuggestionSampleBytes);
    // The configuration's bytes exactly: CR LF line ends however the
    // platform writes text.
    if (suggestion.found) {
        standardOutputInBinary();
        out << configurationText(suggestion.configuration) << std::flush;
    }
    for (const std::string& reason : suggestion.reasons) errors << reason << "\n";
    errors.flush();
    return suggestion.found ? ExitCompleted : ExitFailed;
}

}  // namespace velmora
