#include "engine/run/data_file_parse.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>

#include "format/config/strict_config_reader.h"
#include "engine/storage/background_flush.h"
#include "engine/storage/database_claim.h"
#include "engine/storage/database_writer.h"
#include "engine/os/engine_os.h"
#include "engine/odbc/odbc_writer.h"
#include "engine/storage/output_paths.h"
#include "engine/run/pipeline_thread.h"
#include "engine/run/progress_meter.h"
#include "engine/run/run_interrupts.h"

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

// Why an input could not be opened. An open that waits (on a pipe) and is
// interrupted was stopped by the operator, not by the file.
std::string cannotOpen(const char* what, const std::string& path) {
    if (errno == EINTR && interrupted()) return "the run was interrupted: " + interruption();
    return std::string("cannot open the ") + what + " " + path + ": " + std::strerror(errno);
}

bool readWholeFile(const std::string& path, std::string& bytes, FileIdentity& identity, std::string& error) {
    if (isFolder(path)) {
        error = "the configuration file " + path + " is a folder";
        return false;
    }
    File f(std::fopen(path.c_str(), "rb"));
    if (!f) {
        error = cannotOpen("configuration file", path);
        return false;
    }
    identity = openFileIdentity(f.get());
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

// Whether the run goes on: progress now and then, and a stop once the
// progress output is closed (the utility cancelled) or the run was
// interrupted. Asked at every read, record and stored row, and while the
// pipeline is busy with one record (idle), a few times a second.
class RunWatch {
public:
    RunWatch(std::ostream* console, uint64_t totalBytes, std::chrono::milliseconds interval)
        : meter_(console, totalBytes, interval) {}

    bool keepGoing(bool idle) {
        if (!stop_.empty()) return false;
        if (!meter_.update(bytes, records, idle))
            stop_ = "the run was cancelled: its progress output was closed";
        else if (interrupted())
            stop_ = "the run was interrupted: " + interruption();
        return stop_.empty();
    }
    const std::string& stop() const { return stop_; }

    uint64_t bytes = 0, records = 0;

private:
    ProgressMeter meter_;
    std::string stop_;
};

// The data file, with the reason a read failed.
class DataSource : public ByteSource {
public:
    explicit DataSource(std::FILE* file) : file_(file) {}
    size_t read(char* buffer, size_t size) override {
        size_t got = file_.read(buffer, size);
        if (got == 0 && file_.failed()) error_ = errno;
        return got;
    }
    bool failed() const override { return file_.failed(); }
    int error() const { return error_; }

private:
    FileSource file_;
    int error_ = 0;
};

// Stores each record the pipeline hands over, and keeps the first
// rejections for the results file. Writer: DatabaseWriter or OdbcWriter.
template <class Writer>
class DatabaseSink : public RecordSink {
public:
    DatabaseSink(const EngineConfiguration& config, Writer& db, RunOutcome& outcome)
        : config_(config), db_(db), outcome_(outcome) {}

    bool parsed(const CutRecord& record, const LocatedFields& fields) override {
        return db_.addRecord(record.number, record.offset, record.bytes, fields, record.ascii);
    }

    bool rejected(const CutRecord& record, int field, const std::string& reason) override {
        const std::string name = field < 0 ? std::string() : config_.fields[static_cast<size_t>(field)].name;
        if (outcome_.firstRejections.size() < kListedRejections)
            outcome_.firstRejections.push_back({record.number, record.offset, name, reason});
        return db_.addRejection(record.number, record.offset, record.length, name, reason);
    }

    bool letGo() override { return db_.flush(); }

private:
    const EngineConfiguration& config_;
    Writer& db_;
    RunOutcome& outcome_;
};

// Everything between opening the data file and committing; the caller
// removes the temporary database or rolls back when this fails.
template <class Writer>
bool cutAndStore(const ParseRequest& request, const EngineConfiguration& config, std::FILE* data, Writer& db,
                 RunOutcome& outcome) {
    RunWatch watch(request.console, openFileSize(data), request.progressInterval);
    DataSource source(data);
    PipelineThread pipeline(source, config, request.limits);
    DatabaseSink<Writer> sink(config, db, outcome);
    auto keepGoing = [&](bool idle) {
        watch.bytes = pipeline.bytesRead();
        watch.records = pipeline.recordsParsed();
        return watch.keepGoing(idle);
    };
    db.setKeepGoing([&] { return keepGoing(false); });
    pipeline.run(sink, keepGoing);
    outcome.recordsParsed = pipeline.recordsParsed();
    outcome.recordsRejected = pipeline.recordsRejected();
    outcome.bytesRead = pipeline.bytesRead();
    if (!watch.stop().empty()) {
        outcome.failure = watch.stop();
        return false;
    }
    if (pipeline.outOfMemory()) {
        outcome.failure = "out of memory";
        return false;
    }
    if (pipeline.stopped()) {
        outcome.failure = db.error();
        return false;
    }
    if (source.failed()) {
        outcome.failure = "cannot read the data file " + request.dataPath + " after byte " +
                          std::to_string(pipeline.bytesRead()) +
                          (source.error() ? std::string(": ") + std::strerror(source.error()) : std::string());
        return false;
    }
    return true;
}

}  // namespace

RunOutcome parseDataFile(const ParseRequest& request) {
    RunOutcome outcome;
    outcome.dataPath = request.dataPath;
    outcome.configPath = request.configPath;
    outcome.databasePath = request.databasePath;
    const auto started = std::chrono::steady_clock::now();
    const std::string startedText = utcNow();
    auto elapsed = [&] {
        outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    };
    auto failed = [&](const std::string& why) {
        if (outcome.failure.empty()) outcome.failure = why.empty() ? "the database could not be written" : why;
        outcome.completed = false;
        elapsed();
        return outcome;
    };

    std::string configBytes, error;
    FileIdentity configIdentity;
    if (!readWholeFile(request.configPath, configBytes, configIdentity, error)) return failed(error);
    ConfigReading reading = readStrictConfiguration(configBytes);
    if (!reading.ok) return failed(reading.failureText());
    const EngineConfiguration& config = reading.config;
    // Refused before its automaton is built, not when memory runs out.
    const std::string tooLarge = locatorTooLarge(config);
    if (!tooLarge.empty()) return failed(tooLarge);
    std::vector<RecordColumn> columns;
    recordColumns(config, columns, error);
    auto runFacts = [&] {
        return RunFacts{pathAsUtf8(request.dataPath),
                        pathAsUtf8(request.configPath),
                        pathAsUtf8(request.databasePath),
                        startedText,
                        utcNow(),
                        outcome.bytesRead,
                        outcome.recordsParsed,
                        outcome.recordsRejected,
                        kEngineVersion};
    };
    File data;
    auto openData = [&] {
        if (isFolder(request.dataPath)) {
            error = "the data file " + request.dataPath + " is a folder";
            return false;
        }
        data.reset(std::fopen(request.dataPath.c_str(), "rb"));
        if (!data) error = cannotOpen("data file", request.dataPath);
        return data != nullptr;
    };

    if (!request.connection.empty()) {
        if (!openData()) return failed(error);
        OdbcWriter db;
        const bool ok = db.create(request.connection, request.table, config, columns) &&
                        cutAndStore(request, config, data.get(), db, outcome) && db.finish(runFacts());
        db.close();
        if (!ok) {
            outcome.usage = db.tableMismatch();
            return failed(outcome.failure.empty() ? db.error() : outcome.failure);
        }
        // Committed: only now may the results say so.
        outcome.completed = true;
        elapsed();
        if (request.beforePublishing && !request.beforePublishing(outcome, error)) return failed(error);
        return outcome;
    }

    // Never write the database, or its temporary file, over an input.
    const std::string clash = databaseClash(request.dataPath, request.configPath, request.databasePath);
    if (!clash.empty()) return failed(clash);
    // What could never take the database's place is refused before parsing.
    const std::string& target = request.databasePath;
    const PathKind targetKind = pathKind(target);
    if (targetKind == PathKind::Folder) return failed("the database " + target + " is a folder");
    if (targetKind == PathKind::Other) return failed("the database " + target + " is not a regular file");
    const std::string tooLong = DatabaseClaim::pathTooLong(target);
    if (!tooLong.empty()) return failed(tooLong);

    if (!openData()) return failed(error);
    const FileIdentity dataIdentity = openFileIdentity(data.get());

    const std::string partial = partialDatabasePath(request.databasePath);
    DatabaseClaim claim;
    switch (claim.claim(partial, error)) {
    case DatabaseClaim::Busy:
        return failed("the database " + request.databasePath + " is being written by another run (" + partial +
                      " is in use)");
    case DatabaseClaim::Failed:
        return failed("cannot create the temporary database " + partial + ": " + error);
    case DatabaseClaim::Claimed:
        break;
    }
    // The inputs as opened, against the file the run writes: never the same.
    if (claim.identity() == dataIdentity || claim.identity() == configIdentity)
        return failed("the database would overwrite the input file " +
                      (claim.identity() == dataIdentity ? request.dataPath : request.configPath));
    bool ok;
    {
        // The database goes to the disk while it is written, until it is
        // closed, so the flush after the commit is short.
        BackgroundFlush flushing([&claim] { claim.flushOnTheWay(); });
        DatabaseWriter db;
        ok = db.create(pathAsUtf8(partial), config, columns);
        // SQLite opened the file by its name: it must have been the run's own.
        if (ok && !claim.stillHeld()) {
            outcome.failure = "the temporary database " + partial + " is no longer the run's own";
            ok = false;
        }
        ok = ok && cutAndStore(request, config, data.get(), db, outcome) && db.finish(runFacts());
        ok = db.close() && ok;
        if (!ok && outcome.failure.empty()) outcome.failure = db.error();
    }
    data.reset();
    if (ok) {
        if (interrupted()) return failed("the run was interrupted: " + interruption());
        outcome.completed = true;
        elapsed();
        // On the disk before the results say it is there.
        if (!claim.flush(error)) return failed("cannot flush the database " + partial + ": " + error);
        if (request.beforePublishing && !request.beforePublishing(outcome, error)) return failed(error);
        if (!claim.publish(request.databasePath, error))
            return failed("cannot move the database into place at " + request.databasePath + ": " + error);
        return outcome;
    }
    return failed("");
}

}  // namespace velmora
