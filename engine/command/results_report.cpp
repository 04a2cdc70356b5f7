#include "engine/command/results_report.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "format/config/byte_escapes.h"
#include "engine/odbc/connection_secrets.h"
#include "engine/os/engine_os.h"
#include "engine/storage/output_file.h"
#include "engine/run/run_interrupts.h"

namespace velmora {

const char* const kSuccessMarker = "records parsed";

namespace {

// A field name or a rejection's reason in a results line: names as long as
// a configuration allows would make every line that long. A reason the
// engine words stays whole.
constexpr size_t kShownName = 64, kShownReason = 128;

std::string shortened(const std::string& text, size_t most) {
    return text.size() <= most ? text : text.substr(0, most) + "...";
}

Failure cannotWrite(const std::string& path, const std::string& why) {
    return fail("cannot write the results file " + path + ": " + why);
}

}  // namespace

std::string failureReason(const std::string& reason) {
    std::string line = escapeBytes(reason, Escaping::Controls);
    // A path or field name holding the marker must not turn a failure into
    // a success for the utility.
    const std::string marker = kSuccessMarker;
    for (size_t at = line.find(marker); at != std::string::npos; at = line.find(marker, at + 1)) line[at + 7] = '-';
    return line;
}

std::vector<std::string> resultsLines(const RunOutcome& o) {
    std::vector<std::string> lines;
    if (o.completed) {
        std::string first = std::to_string(o.recordsParsed) + " " + kSuccessMarker;
        if (o.recordsRejected > 0) first += ", " + std::to_string(o.recordsRejected) + " rejected";
        lines.push_back(first);
        lines.push_back("Database: " + o.databasePath);
    } else {
        lines.push_back("Parse failed: " + failureReason(o.failure));
        lines.push_back("Database: none written");
    }
    lines.push_back("Data file: " + o.dataPath);
    lines.push_back("Configuration: " + o.configPath);
    if (o.completed) {
        lines.push_back("Records stored: " + std::to_string(o.recordsParsed));
        lines.push_back("Records rejected: " + std::to_string(o.recordsRejected));
    } else {
        // What was cut before the failure went with the unfinished database.
        lines.push_back("Records stored: 0");
        if (o.recordsParsed + o.recordsRejected > 0)
            lines.push_back("Records read before the failure: " + std::to_string(o.recordsParsed) + " parsed, " +
                            std::to_string(o.recordsRejected) + " rejected");
    }
    lines.push_back("Bytes read: " + std::to_string(o.bytesRead));
    char elapsed[64];
    std::snprintf(elapsed, sizeof elapsed, "Elapsed: %.3f s", o.seconds);
    lines.push_back(elapsed);
    if (!o.firstRejections.empty()) {
        lines.push_back("Rejected records (the first " + std::to_string(o.firstRejections.size()) + " of " +
                        std::to_string(o.recordsRejected) + "):");
        for (const Rejection& r : o.firstRejections) {
            std::string line = "record " + std::to_string(r.record) + " at byte " + std::to_string(r.offset);
            if (!r.field.empty()) line += ", field \"" + shortened(r.field, kShownName) + "\"";
            lines.push_back(line + ": " + shortened(r.reason, kShownReason));
        }
    }
    // Names, paths and reasons may hold any byte; a line must stay one line
    // (CR, LF) and whole (NUL, and Ctrl+Z, which ends a text file read on
    // Windows).
    for (size_t k = 1; k < lines.size(); ++k) lines[k] = escapeBytes(lines[k], Escaping::Controls);
    // Whatever was mistyped, a password never reaches the results or the
    // console.
    for (std::string& line : lines) line = withoutPasswords(line);
    return lines;
}

Status writeResultsFile(const std::string& path, const std::vector<std::string>& lines, bool durable) {
    // A link there is replaced; anything else but a file is left alone.
    const PathKind kind = pathKind(path);
    if (kind == PathKind::Folder) return cannotWrite(path, "it is a folder");
    if (kind == PathKind::Other) return cannotWrite(path, "it is not a regular file");
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    OutputFile file;
    if (Status made = createBeside(path, file); !made) return cannotWrite(path, made.failure());
    removeOnHardStop(TemporaryFile::Results, file.path());
    Status written = file.write(text);
    if (written && durable) written = file.flush();
    if (written) written = file.moveOnto(path, durable);
    removeOnHardStop(TemporaryFile::Results, "");
    if (!written) return cannotWrite(path, written.failure());
    return {};
}

}  // namespace velmora
