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
#include "format/base/result.h"

namespace velmora {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// The start of the file, one byte past the sample's limit, so that the
// sample knows whether it is the whole file.
Result<std::string> readSample(const std::string& path) {
    const std::string shown = escapeBytes(path, Escaping::Controls);
    if (isFolder(path)) return fail("the data file " + shown + " is a folder");
    std::unique_ptr<std::FILE, FileCloser> f(std::fopen(path.c_str(), "rb"));
    if (!f) return fail("cannot open the data file " + shown + ": " + std::strerror(errno));
    std::string bytes(kSuggestionSampleBytes + 1, '\0');
    bytes.resize(std::fread(&bytes[0], 1, bytes.size(), f.get()));
    if (std::ferror(f.get())) return fail("cannot read the data file " + shown);
    return bytes;
}

}  // namespace

int runSuggestion(const std::string& dataPath, std::ostream& out, std::ostream& errors) {
    Result<std::string> read = readSample(dataPath);
    if (!read) {
        errors << "No suggestion: " << read.failure() << "." << std::endl;
        return ExitFailed;
    }
    const std::string& sample = *read;
    const Suggestion suggestion = suggestConfiguration(sample, sample.size() <= kSuggestionSampleBytes);
    for (const std::string& reason : suggestion.reasons) errors << reason << "\n";
    errors.flush();
    if (!suggestion.found) return ExitFailed;
    // The configuration's bytes exactly: CR LF line ends however the
    // platform writes text. A file cut short by a full disk must not pass
    // for a suggestion.
    standardOutputInBinary();
    errno = 0;
    out << configurationText(suggestion.configuration) << std::flush;
    if (out) return ExitCompleted;
    errors << "ParseTarn: cannot write the suggestion to standard output"
           << (errno ? std::string(": ") + std::strerror(errno) : std::string()) << std::endl;
    return ExitFailed;
}

}  // namespace velmora
