// The floors under the engine's time, each SQLite taking the same rows into
// the engine's table (its pragmas and columns). The data file is read, cut
// and located before the clock starts; only the writing and the commit are
// timed.
//
//   sqlite_floor [MODE] DATA CONFIG DATABASE     prints the seconds
//
//   --writer  (the default) the engine's own writer, from memory
//   --rows64  plain SQLite, 64 rows a statement prepared once, every value
//             bound in place: the fastest bound-parameter insert
//   --attach  SQLite copying its own table of those rows from another
//             database (INSERT INTO ... SELECT across ATTACH): its own limit
//   --rows64-flushed
//             as --rows64, and the file flushed to the disk before the clock
//             stops, as the engine flushes its database before it reports
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

#include "format/config/strict_config_reader.h"
#include "engine/core/text/cp1252.h"
#include "engine/core/record_pipeline.h"
#include "engine/storage/database_writer.h"

using namespace velmora;

namespace {

std::string slurp(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

struct Row {
    uint64_t number, offset;
    std::string_view bytes;
    size_t firstSlice;
};

// Keeps every parsed record's place and slices, in one flat list.
class Collect : public RecordSink {
public:
    std::vector<Row> rows;
    std::vector<FieldSlice> slices;
    const char* base = nullptr;

    bool parsed(const CutRecord& r, const LocatedFields& fields) override {
        rows.push_back({r.number, r.offset, std::string_view(base + r.offset, r.bytes.size()), slices.size()});
        slices.insert(slices.end(), fields.slices.begin(), fields.slices.end());
        return true;
    }
    bool rejected(const CutRecord&, int, const std::string&) override { return true; }
};

struct Run {
    const EngineConfiguration& config;
    std::vector<RecordColumn> columns;
    Collect rows;

    const LocatedFields& located(size_t k, LocatedFields& into) const {
        const size_t first = rows.rows[k].firstSlice, count = config.fields.size();
        into.slices.assign(rows.slices.begin() + static_cast<long>(first),
                           rows.slices.begin() + static_cast<long>(first + count));
        return into;
    }
};

bool fail(const std::string& what) {
    std::cerr << what << "\n";
    return false;
}

// Closes the writer; the first failure of its steps and its closing told.
bool closed(DatabaseWriter& db, const Status& written) {
    const Status closing = db.close();
    if (!written) return fail(written.failure());
    return closing || fail(closing.failure());
}

// The engine's tables, empty, in a new file.
bool emptyDatabase(const Run& run, const std::string& path) {
    std::remove(path.c_str());
    DatabaseWriter db;
    Status written = db.create(path, run.config, run.columns);
    if (written) written = db.finish(RunFacts{});
    return closed(db, written);
}

bool writer(const Run& run, const std::string& path) {
    std::remove(path.c_str());
    DatabaseWriter db;
    Status written = db.create(path, run.config, run.columns);
    LocatedFields located;
    for (size_t k = 0; written && k < run.rows.rows.size(); ++k) {
        const Row& row = run.rows.rows[k];
        written = db.addRecord(row.number, row.offset, row.bytes, run.located(k, located));
    }
    if (written) written = db.finish(RunFacts{});
    return closed(db, written);
}

// The engine's table filled by SQLite alone: `per` rows a statement.
bool plainRows(const Run& run, const std::string& path, int per) {
    if (!emptyDatabase(run, path)) return false;
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    const int columns = static_cast<int>(run.columns.size());
    std::string sql = "INSERT INTO records VALUES ";
    for (int r = 0; r < per; ++r) {
        sql += r ? ", (" : "(";
        for (int c = 0; c < columns; ++c) sql += c ? ", ?" : "?";
        sql += ")";
    }
    sqlite3_stmt* many = nullptr;
    bool ok = sqlite3_exec(db, kWriterPragmas, nullptr, nullptr, nullptr) == SQLITE_OK &&
              sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK &&
              sqlite3_prepare_v2(db, sql.c_str(), -1, &many, nullptr) == SQLITE_OK;
    LocatedFields located;
    const size_t whole = run.rows.rows.size() / static_cast<size_t>(per) * static_cast<size_t>(per);
    int index = 0;
    for (size_t k = 0; ok && k < whole; ++k) {
        const Row& row = run.rows.rows[k];
        sqlite3_bind_int64(many, ++index, static_cast<sqlite3_int64>(row.number));
        sqlite3_bind_int64(many, ++index, static_cast<sqlite3_int64>(row.offset));
        sqlite3_bind_int64(many, ++index, static_cast<sqlite3_int64>(row.bytes.size()));
        run.located(k, located);
        for (int c = kRecordOwnColumns; c < columns; ++c) {
            const RecordColumn& column = run.columns[static_cast<size_t>(c)];
            const std::optional<std::string_view> v = columnValue(row.bytes, located, run.config, column);
            if (!v)
                sqlite3_bind_null(many, ++index);
            else if (columnStorage(run.config, column) == ColumnStorage::Text)
                sqlite3_bind_text64(many, ++index, v->data(), v->size(), SQLITE_STATIC, SQLITE_UTF8);
            else
                sqlite3_bind_blob64(many, ++index, v->data(), v->size(), SQLITE_STATIC);
        }
        if (index == per * columns) {
            ok = sqlite3_step(many) == SQLITE_DONE;
            sqlite3_reset(many);
            index = 0;
        }
    }
    sqlite3_finalize(many);
    // The few rows past the last whole statement are left out: they would
    // measure the one-row statement.
    ok = ok && sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    if (!ok) fail(sqlite3_errmsg(db));
    return sqlite3_close(db) == SQLITE_OK && ok;
}

// What the floor leaves in the system's cache, on the disk.
bool flushed(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY);
    const bool ok = fd >= 0 && fsync(fd) == 0;
    if (fd >= 0) close(fd);
    return ok || fail("cannot flush " + path);
}

// The rows copied by SQLite from its own table in another file.
bool attachCopy(const Run& run, const std::string& path, const std::string& source) {
    if (!emptyDatabase(run, path)) return false;
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    char* quoted = sqlite3_mprintf("ATTACH %Q AS source", source.c_str());
    bool ok = sqlite3_exec(db, kWriterPragmas, nullptr, nullptr, nullptr) == SQLITE_OK &&
              sqlite3_exec(db, quoted, nullptr, nullptr, nullptr) == SQLITE_OK &&
              sqlite3_exec(db, "BEGIN; INSERT INTO main.records SELECT * FROM source.records; COMMIT", nullptr, nullptr,
                           nullptr) == SQLITE_OK;
    sqlite3_free(quoted);
    if (!ok) fail(sqlite3_errmsg(db));
    return sqlite3_close(db) == SQLITE_OK && ok;
}

}  // namespace

int main(int argc, char** argv) {
    std::string mode = "--writer";
    if (argc == 5) mode = argv[1];
    if ((argc != 4 && argc != 5) ||
        (mode != "--writer" && mode != "--rows64" && mode != "--rows64-flushed" && mode != "--attach")) {
        std::cerr << "usage: sqlite_floor [--writer|--rows64|--rows64-flushed|--attach] DATA CONFIG DATABASE\n";
        return 2;
    }
    char** paths = argv + argc - 3;
    const std::string data = slurp(paths[0]), database = paths[2];
    ConfigReading reading = readStrictConfiguration(slurp(paths[1]));
    if (!reading.ok) {
        std::cerr << reading.failureText() << "\n";
        return 1;
    }
    // Texts are bound as they are: bytes that need converting would be
    // measured as well.
    if (mode != "--writer" && !isAscii(data)) {
        std::cerr << "the plain SQLite floors take ASCII data only\n";
        return 1;
    }
    Run run{reading.config, {}, {}};
    std::string error;
    recordColumns(run.config, run.columns, error);
    MemorySource source(data);
    RecordPipeline pipeline(source, run.config);
    run.rows.base = data.data();
    while (pipeline.next(run.rows)) {
    }
    const std::string copied = database + ".source";
    if (mode == "--attach" && !plainRows(run, copied, 64)) return 1;

    const auto start = std::chrono::steady_clock::now();
    const bool ok = mode == "--writer"           ? writer(run, database)
                    : mode == "--rows64"         ? plainRows(run, database, 64)
                    : mode == "--rows64-flushed" ? plainRows(run, database, 64) && flushed(database)
                                                 : attachCopy(run, database, copied);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::remove(copied.c_str());
    if (!ok) return 1;
    std::printf("%.2f\n", seconds);
    return 0;
}
