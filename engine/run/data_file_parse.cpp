#include "engine/run/data_file_parse.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>

#include "format/base/check.h"
#include "format/config/strict_config_reader.h"
#include "engine/core/sha256.h"
#include "engine/storage/background_flush.h"
#include "engine/storage/database_claim.h"
#include "engine/storage/database_writer.h"
#include "engine/os/engine_os.h"
#include "engine/odbc/odbc_writer.h"
#include "engine/storage/output_paths.h"
#include "engine/run/pipeline_thread.h"
#include "engine/run/progress_meter.h"
#include "engine/run/run_interrupts.h"
#include "engine/run/server_watch.h"

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

// A configuration file's bytes, and which file they came from.
struct ConfigFile {
    std::string bytes;
    FileIdentity identity;
};

Result<ConfigFile> readConfigFile(const std::string& path) {
    if (isFolder(path)) return fail("the configuration file " + path + " is a folder");
    File f(std::fopen(path.c_str(), "rb"));
    if (!f) return fail(cannotOpen("configuration file", path));
    ConfigFile file;
    file.identity = openFileIdentity(f.get());
    char chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, f.get())) > 0) {
        file.bytes.append(chunk, got);
        if (file.bytes.size() > kLargestConfiguration)
            return fail("the configuration file " + path + " is larger than 16 MiB");
    }
    if (std::ferror(f.get())) return fail("cannot read the configuration file " + path);
    return file;
}

Result<File> openDataFile(const std::string& path) {
    if (isFolder(path)) return fail("the data file " + path + " is a folder");
    File data(std::fopen(path.c_str(), "rb"));
    if (!data) return fail(cannotOpen("data file", path));
    return data;
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
        return kept(db_.addRecord(record.number, record.offset, record.bytes, fields, record.ascii));
    }

    bool rejected(const CutRecord& record, int field, const std::string& reason) override {
        const std::string name = field < 0 ? std::string() : config_.fields[static_cast<size_t>(field)].name;
        if (outcome_.firstRejections.size() < kListedRejections)
            outcome_.firstRejections.push_back({record.number, record.offset, name, reason});
        return kept(db_.addRejection(record.number, record.offset, record.length, name, reason));
    }

    bool letGo() override { return kept(db_.flush()); }

    // Why the writer stopped the pipeline, when it did.
    const Status& stored() const { return stored_; }

private:
    bool kept(Status stored) {
        if (stored) return true;
        stored_ = std::move(stored);
        return false;
    }

    const EngineConfiguration& config_;
    Writer& db_;
    RunOutcome& outcome_;
    Status stored_;
};

// What the phases of one run share.
struct Run {
    explicit Run(const ParseRequest& r) : request(r) {
        outcome.dataPath = r.dataPath;
        outcome.configPath = r.configPath;
        outcome.databasePath = r.databasePath;
    }

    const ParseRequest& request;
    RunOutcome outcome;
    std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
    std::string startedText = utcNow();
    EngineConfiguration config;
    std::vector<RecordColumn> columns;
    FileIdentity configIdentity;
    std::string configDigest;
    File data;
    FileStamp dataStamp;

    RunFacts facts() const {
        return RunFacts{pathAsUtf8(request.dataPath),
                        pathAsUtf8(request.configPath),
                        pathAsUtf8(request.databasePath),
                        startedText,
                        utcNow(),
                        outcome.bytesRead,
                        outcome.recordsParsed,
                        outcome.recordsRejected,
                        kEngineVersion,
                        dataStamp,
                        configDigest};
    }
    void measure() {
        outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    }
    // The run's work is done: its results may say so from now on.
    void complete() {
        outcome.completed = true;
        measure();
    }
};

// Everything between opening the data file and committing; the caller
// removes the temporary database or rolls back when this fails.
template <class Writer>
Status cutAndStore(Run& run, Writer& db) {
    const ParseRequest& request = run.request;
    RunOutcome& outcome = run.outcome;
    RunWatch watch(request.console, run.dataStamp.size, request.progressInterval);
    DataSource source(run.data.get());
    PipelineThread pipeline(source, run.config, request.limits);
    DatabaseSink<Writer> sink(run.config, db, outcome);
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
    if (!watch.stop().empty()) return fail(watch.stop());
    if (pipeline.outOfMemory()) return fail("out of memory");
    if (pipeline.stopped()) {
        // Nothing else stops it: the writer failed, and said why.
        VELMORA_ASSERT(!sink.stored().ok());
        return sink.stored();
    }
    if (source.failed())
        return fail("cannot read the data file " + request.dataPath + " after byte " +
                    std::to_string(pipeline.bytesRead()) +
                    (source.error() ? std::string(": ") + std::strerror(source.error()) : std::string()));
    return {};
}

// The configuration, read strictly, and the columns it stores.
Status readConfiguration(Run& run) {
    Result<ConfigFile> file = readConfigFile(run.request.configPath);
    if (!file) return fail(file.failure());
    run.configIdentity = file->identity;
    run.configDigest = sha256Hex(file->bytes);
    ConfigReading reading = readStrictConfiguration(file->bytes);
    if (!reading.ok) return fail(reading.failureText());
    run.config = std::move(reading.config);
    // Refused before its automaton is built, not when memory runs out.
    const std::string tooLarge = locatorTooLarge(run.config);
    if (!tooLarge.empty()) return fail(tooLarge);
    std::string unused;
    recordColumns(run.config, run.columns, unused);
    return {};
}

Status openData(Run& run) {
    Result<File> data = openDataFile(run.request.dataPath);
    if (!data) return fail(data.failure());
    run.data = std::move(*data);
    // Taken before a byte is read: a file changed during the run differs.
    run.dataStamp = openFileStamp(run.data.get());
    return {};
}

// Into a database server's tables, in one transaction.
Status runIntoServer(Run& run) {
    const ParseRequest& request = run.request;
    if (Status opened = openData(run); !opened) return opened;
    OdbcWriter db;
    if (!request.again) db.refuseRepeatOf(run.dataStamp, run.configDigest);
    Status stored;
    {
        ServerWatch watch([&db] { db.cancel(); });
        stored = db.create(request.connection, request.timeoutSeconds, request.table, run.config, run.columns);
        if (stored) stored = cutAndStore(run, db);
        if (stored) stored = db.finish(run.facts());
        db.close();
    }
    // A statement cancelled by the interrupt fails with the driver's words.
    if (!stored && interrupted()) stored = fail("the run was interrupted: " + interruption());
    if (!stored) {
        run.outcome.usage = db.tableMismatch();
        return stored;
    }
    // Committed: only now may the results say so.
    run.complete();
    if (request.beforePublishing) return request.beforePublishing(run.outcome);
    return {};
}

// What could never take the database's place is refused before parsing,
// and the database, or its temporary file, is never written over an input.
Status checkDatabasePlace(const ParseRequest& request) {
    const std::string& target = request.databasePath;
    if (Status apart = databaseClearOfInputs(request.dataPath, request.configPath, target); !apart) return apart;
    const PathKind targetKind = pathKind(target);
    if (targetKind == PathKind::Folder) return fail("the database " + target + " is a folder");
    if (targetKind == PathKind::Other) return fail("the database " + target + " is not a regular file");
    return DatabaseClaim::pathFits(target);
}

// The database written whole under the claim's temporary name.
Status writeDatabase(Run& run, DatabaseClaim& claim) {
    // The database goes to the disk while it is written, until it is
    // closed, so the flush after the commit is short.
    BackgroundFlush flushing([&claim] { claim.flushOnTheWay(); });
    DatabaseWriter db;
    Status written = db.create(pathAsUtf8(claim.path()), run.config, run.columns);
    // SQLite opened the file by its name: it must have been the run's own.
    if (written && !claim.stillHeld())
        written = fail("the temporary database " + claim.path() + " is no longer the run's own");
    if (written) written = cutAndStore(run, db);
    if (written) written = db.finish(run.facts());
    Status closed = db.close();
    return written ? closed : written;
}

// The complete database on the disk, reported, and moved into place.
Status publishDatabase(Run& run, DatabaseClaim& claim) {
    const ParseRequest& request = run.request;
    if (interrupted()) return fail("the run was interrupted: " + interruption());
    run.complete();
    // On the disk before the results say it is there.
    if (Status flushed = claim.flush(); !flushed)
        return fail("cannot flush the database " + claim.path() + ": " + flushed.failure());
    if (request.beforePublishing)
        if (Status reported = request.beforePublishing(run.outcome); !reported) return reported;
    if (Status published = claim.publish(request.databasePath); !published)
        return fail("cannot move the database into place at " + request.databasePath + ": " + published.failure());
    return {};
}

// Into a new SQLite database that takes its path only when it is whole.
Status runIntoFile(Run& run) {
    const ParseRequest& request = run.request;
    if (Status placed = checkDatabasePlace(request); !placed) return placed;
    if (Status opened = openData(run); !opened) return opened;
    const FileIdentity dataIdentity = openFileIdentity(run.data.get());
    DatabaseClaim claim;
    if (Status claimed = claim.claim(request.databasePath); !claimed) return claimed;
    // The inputs as opened, against the file the run writes: never the same.
    if (claim.identity() == dataIdentity || claim.identity() == run.configIdentity)
        return fail("the database would overwrite the input file " +
                    (claim.identity() == dataIdentity ? request.dataPath : request.configPath));
    Status written = writeDatabase(run, claim);
    run.data.reset();
    if (!written) return written;
    return publishDatabase(run, claim);
}

}  // namespace

RunOutcome parseDataFile(const ParseRequest& request) {
    Run run(request);
    Status done = readConfiguration(run);
    if (done) done = request.connection.empty() ? runIntoFile(run) : runIntoServer(run);
    if (!done) {
        run.outcome.failure = done.failure().empty() ? "the database could not be written" : done.failure();
        run.outcome.completed = false;
        run.measure();
    }
    return std::move(run.outcome);
}

}  // namespace velmora
