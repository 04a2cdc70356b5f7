#include "src/viewer/stored_record_map.h"

#include <algorithm>

#include "engine/core/database_tables.h"
#include "engine/core/record_cutter.h"
#include "engine/core/sha256.h"
#include "engine/core/text/cp1252.h"
#include "format/config/strict_config_reader.h"
#include "src/viewer/run_data_file.h"

namespace velmora {

namespace {

struct RunFiles {
    std::string configPath;  // in the program's code page
    std::string configDigest;
    std::uint64_t dataSize = 0;
};

Result<RunFiles> runFiles(ResultsDatabase& db) {
    using namespace tables;
    Statement run;
    // An older engine's run names neither the digest nor the size.
    if (db.holds(runTable()) && db.holdsColumn(kRun, kRunConfigDigest) && db.holdsColumn(kRun, kRunDataSize))
        run = Statement(db.connection(), std::string("SELECT ") + kRunConfigPath + ", " + kRunConfigDigest + ", " +
                                             kRunDataSize + " FROM " + kRun + " LIMIT 1");
    if (!run.step() || !run.bytes(0) || !run.bytes(1) || run.integer(2) < 0)
        return fail("the database does not say which configuration and data file the run read");
    RunFiles files;
    appendUtf8AsCp1252(*run.bytes(0), files.configPath);
    files.configDigest = std::string(*run.bytes(1));
    files.dataSize = static_cast<std::uint64_t>(run.integer(2));
    return files;
}

// The configuration as the run read it: the file it names, unchanged since.
Result<ParseConfiguration> runConfiguration(FileSystem& files, const RunFiles& run) {
    const std::optional<std::string> text = files.readFile(run.configPath);
    if (!text) return fail("the configuration " + run.configPath + " cannot be read");
    if (sha256Hex(*text) != run.configDigest)
        return fail("the configuration " + run.configPath + " has changed since the run");
    ConfigReading reading = readStrictConfiguration(*text);
    if (!reading.ok) return fail("the configuration " + run.configPath + " cannot be read: " + reading.failureText());
    return reading.config.text;
}

// Where the record lies in the data file, without its separator.
Result<ByteRange> recordPlace(ResultsDatabase& db, const char* table, std::int64_t record) {
    using namespace tables;
    const auto rowid = db.firstRowidOfRecord(table, record);
    Statement place;
    if (rowid)
        place = Statement(db.connection(), std::string("SELECT ") + kRecordNumber + ", " + kByteOffset + ", " +
                                               kLength + " FROM " + table + " WHERE " + db.rowidName(table) + " = ?1");
    if (place.ok()) place.bind(1, *rowid);
    if (!place.step() || place.integer(0) != record || place.integer(1) < 0 || place.integer(2) < 0)
        return fail("the database does not say where the record lies");
    return ByteRange{static_cast<std::uint64_t>(place.integer(1)), static_cast<std::uint64_t>(place.integer(2))};
}

}  // namespace

Result<StoredRecordMap> StoredRecordMap::read(FileSystem& files, ResultsDatabase& db, const char* table,
                                              std::int64_t record) {
    Result<RunFiles> run = runFiles(db);
    if (!run) return fail(run.failure());
    Result<ParseConfiguration> config = runConfiguration(files, *run);
    if (!config) return fail(config.failure());
    StoredRecordMap map(*config);
    if (!map.preview_.failure().empty()) return fail("the configuration is refused: " + map.preview_.failure());
    Result<ByteRange> place = recordPlace(db, table, record);
    if (!place) return fail(place.failure());
    if (place->offset > run->dataSize || place->length > run->dataSize - place->offset)
        return fail("the record lies past the end of the data file");
    // The engine sets a longer record aside unread; a file of any size
    // (or a damaged database) costs the window no more than this.
    if (place->length > RecordLimits{}.largestRecord) return fail("the record is longer than 16 MiB");
    // The separator after it, when the file holds one.
    const std::uint64_t separator = map.preview_.separatorSize();
    ByteRange range = *place;
    range.length += std::min(separator, run->dataSize - place->offset - place->length);

    Result<RunDataFile> data = RunDataFile::open(files, db);
    if (!data) return fail(data.failure());
    std::string why;
    auto keep = [&](std::string_view bytes) {
        map.bytes_.append(bytes);
        return true;
    };
    if (!data->read({range}, keep, why)) return fail("the data file " + data->path() + " cannot be read: " + why);
    // The record alone, as the run cut it from the whole file.
    map.rows_ = map.preview_.cut(map.bytes_, map.bytes_.size(), PreviewLimits{1, map.bytes_.size()});
    if (map.rows_.rows.size() != 1 || map.rows_.rows[0].length != place->length)
        return fail("the data file no longer holds the record where the run found it");
    return map;
}

int StoredRecordMap::fieldOfColumn(const std::string& name) const {
    const std::vector<PreviewColumn>& columns = preview_.columns();
    for (std::size_t k = 0; k < columns.size(); ++k)
        if (columns[k].name == name) return preview_.mapField(k);
    return -1;
}

}  // namespace velmora
