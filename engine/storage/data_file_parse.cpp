#include "engine/storage/data_file_parse.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>

#include "engine/storage/database_writer.h"
#include "engine/storage/engine_os.h"
#include "engine/core/record_pipeline.h"
#include "engine/storage/progress_meter.h"
#include "config/strict_config_reader.h"

namespace velmora {

#ifndef VELMORA_ENGINE_VERSION
#define VELMORA_ENGINE_VERSION "0"
#endif
const char* const kEngineVersion = VELMORA_ENGINE_VERSION;

namespace {

constexpr size_t kLargestConfiguration = 16u << 20;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

std::string utcNow() {
    std::time_t now = std::time(nullptr);
    char text[32] = "";
    if (const std::tm* t = std::gmtime(&now)) std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", t);
    return text;
}

bool readWholeFile(const std::string& path, std::string& bytes, std::string& error) {
    File f(std::fopen(path.c_str(), "rb"));
    if (!f) {
        error = "cannot open the configuration file " + path + ": " + std::strerror(errno);
        return false;
    }
    char chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, f.get())) > 0) {
        bytes.append(chunk, got);
        if (bytes.size() > kLargestConfiguration) {
            error = "the configuration file " + path + " is larger than 16 MiB";
            return false;
        }
    }
    if (std::ferror(f.get())) {
        error = "cannot read the configuration file " + path;
        return false;
    }
    return true;
}

// Stores each record the pipeline hands over, and keeps the first
// rejections for the results file.
class DatabaseSink : public RecordSink {
public:
    DatabaseSink(const EngineConfiguration& config, DatabaseWriter& db, RunOutcome& outcome)
        : config_(config), db_(db), outcome_(outcome) {}

    bool parsed(const CutRecord& record, const LocatedFields& fields) override {
        return db_.addRecord(record.number, record.offset, record.bytes, fields);
    }

    bool rejected(const CutRecord& record, int field, const std::string& reason) override {
        const std::string name = field < 0 ? std::string() : config_.fields[static_cast<size_t>(field)].name;
        if (outcome_.firstRejections.size() < kListedRejections)
            outcome_.firstRejections.push_back({record.number, record.offset, name, reason});
        return db_.addRejection(record.number, record.offset, record.length, name, reason);
    }

private:
    const EngineConfiguration& config_;
    DatabaseWriter& db_;
    RunOutcome& outcome_;
};

// Everything between opening the data file and committing; the caller
// removes the temporary database when this fails.
bool cutAndStore(const ParseRequest& request, const EngineConfiguration& config, std::FILE* data, DatabaseWriter& db,
                 RunOutcome& outcome) {
    FileSource source(data);
    RecordPipeline pipeline(source, config, request.limits);
    DatabaseSink sink(config, db, outcome);
    ProgressMeter progress(request.console, openFileSize(data), request.progressInterval);
    bool listened = true;
    while (listened && pipeline.next(sink)) listened = progress.update(pipeline.bytesRead(), pipeline.recordsParsed());
    outcome.recordsParsed = pipeline.recordsParsed();
    outcome.recordsRejected = pipeline.recordsRejected();
    outcome.bytesRead = pipeline.bytesRead();
    if (!listened) {
        outcome.failure = "the run was cancelled: its progress output was closed";
        return false;
    }
    if (pipeline.stopped()) {
        outcome.failure = db.error();
        return false;
    }
    if (source.failed()) {
        outcome.failure =
            "cannot read the data file " + request.dataPath + " after byte " + std::to_string(pipeline.bytesRead());
        return false;
    }
    return true;
}

}  // namespace

std::string partialDatabasePath(const std::string& databasePath) { return databasePath + ".partial"; }

RunOutcome parseDataFile(const ParseRequest& request) {
    RunOutcome outcome;
    outcome.dataPath = request.dataPath;
    outcome.configPath = request.configPath;
    outcome.databasePath = request.databasePath;
    const auto started = std::chrono::steady_clock::now();
    const std::string startedText = utcNow();
    auto finished = [&](bool completed) {
        outcome.completed = completed;
        outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        return outcome;
    };

    std::string configBytes;
    if (!readWholeFile(request.configPath, configBytes, outcome.failure)) return finished(false);
    ConfigReading reading = readStrictConfiguration(configBytes);
    if (!reading.ok) {
        outcome.failure = reading.failureText();
        return finished(false);
    }
    const EngineConfiguration& config = reading.config;
    std::vector<RecordColumn> columns;
    if (!recordColumns(config, columns, outcome.failure)) return finished(false);

    // Never write the database, or its temporary file, over an input.
    const std::string partial = partialDatabasePath(request.databasePath);
    for (const std::string* input : {&request.dataPath, &request.configPath}) {
        for (const std::string* output : {&request.databasePath, &partial}) {
            if (*input == *output || sameFile(*input, *output)) {
                outcome.failure = "the database would overwrite the input file " + *input;
                return finished(false);
            }
        }
    }

    File data(std::fopen(request.dataPath.c_str(), "rb"));
    if (!data) {
        outcome.failure = "cannot open the data file " + request.dataPath + ": " + std::strerror(errno);
        return finished(false);
    }

    std::remove(partial.c_str());  // left by a run that was killed
    bool ok;
    {
        DatabaseWriter db;
        ok = db.create(pathAsUtf8(partial), config, columns) && cutAndStore(request, config, data.get(), db, outcome);
        if (ok) {
            RunFacts facts{pathAsUtf8(request.dataPath),
                           pathAsUtf8(request.configPath),
                           pathAsUtf8(request.databasePath),
                           startedText,
                           utcNow(),
                           outcome.bytesRead,
                           outcome.recordsParsed,
                           outcome.recordsRejected,
                           kEngineVersion};
            ok = db.finish(facts);
        }
        ok = db.close() && ok;
        if (!ok && outcome.failure.empty()) outcome.failure = db.error();
    }
    data.reset();
    std::string error;
    if (ok && !replaceFile(partial, request.databasePath, error)) {
        outcome.failure = "cannot move the database into place at " + request.databasePath + ": " + error;
        ok = false;
    }
    if (!ok) std::remove(partial.c_str());
    return finished(ok);
}

}  // namespace velmora
