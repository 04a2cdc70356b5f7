// The floor under the engine's time: SQLite inserting the same rows from
// memory, through the engine's own writer (its pragmas, tables and
// statements). The data file is read, cut and located before the clock
// starts; only the inserts and the commit are timed.
//
//   sqlite_floor DATA CONFIG DATABASE     prints the seconds
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

#include "config/strict_config_reader.h"
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

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: sqlite_floor DATA CONFIG DATABASE\n";
        return 2;
    }
    const std::string data = slurp(argv[1]);
    ConfigReading reading = readStrictConfiguration(slurp(argv[2]));
    if (!reading.ok) {
        std::cerr << reading.failureText() << "\n";
        return 1;
    }
    const EngineConfiguration& config = reading.config;
    MemorySource source(data);
    RecordPipeline pipeline(source, config);
    Collect rows;
    rows.base = data.data();
    while (pipeline.next(rows)) {
    }
    std::vector<RecordColumn> columns;
    std::string error;
    recordColumns(config, columns, error);
    std::remove(argv[3]);

    const auto start = std::chrono::steady_clock::now();
    DatabaseWriter db;
    bool ok = db.create(argv[3], config, columns);
    LocatedFields located;
    const size_t count = config.fields.size();
    for (size_t k = 0; ok && k < rows.rows.size(); ++k) {
        const Row& row = rows.rows[k];
        located.slices.assign(rows.slices.begin() + static_cast<long>(row.firstSlice),
                              rows.slices.begin() + static_cast<long>(row.firstSlice + count));
        ok = db.addRecord(row.number, row.offset, row.bytes, located);
    }
    ok = ok && db.finish(RunFacts{});
    ok = db.close() && ok;
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!ok) {
        std::cerr << db.error() << "\n";
        return 1;
    }
    std::printf("%.2f\n", seconds);
    return 0;
}
