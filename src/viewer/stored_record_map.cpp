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

// The configuration as the run read it: the file it names, unchanged since.
Result<ParseConfiguration> runConfiguration(FileSystem& files, ResultsDatabase& db) {
    using namespace tables;
    Statement run;
    // An older engine's run names no digest.
    if (db.holds(runTable()) && db.holdsColumn(kRun, kRunConfigDigest))
        run = Statement(db.connection(), std::string("SELECT ") + kRunConfigPath + ", " + kRunConfigDigest + " FROM " +
                                             kRun + " LIMIT 1");
    if (!run.step() || !run.bytes(0) || !run.bytes(1))
        return fail("This database does not say which configuration the run read, as it was then.");
    std::string path;
    appendUtf8AsCp1252(*run.bytes(0), path);
    const std::optional<std::string> text = files.readFile(path);
    if (!text) return fail("The configuration " + path + " is gone or cannot be read.");
    if (sha256Hex(*text) != *run.bytes(1)) return fail("The configuration " + path + " has changed since the run.");
    ConfigReading reading = readStrictConfiguration(*text);
    if (!reading.ok) return fail("The configuration " + path + " cannot be read: " + reading.failureText() + ".");
    return reading.config.text;
}

}  // namespace

Result<StoredRecordMap> StoredRecordMap::read(FileSystem& files, ResultsDatabase& db, const char* table,
                                              std::int64_t record) {
    Result<RunDataFile> data = RunDataFile::open(files, db);
    if (!data) return fail(data.failure());
    Result<ParseConfiguration> config = runConfiguration(files, db);
    if (!config) return fail(config.failure());
    StoredRecordMap map(*config);
    if (!map.preview_.failure().empty())
        return fail("The run's configuration is refused: " + map.preview_.failure() + ".");
    const std::optional<ByteRange> place = db.recordPlace(table, record);
    if (!place) return fail("The database does not say where the record lies.");
    const std::uint64_t size = data->stamp().size;
    if (place->offset > size || place->length > size - place->offset)
        return fail("The database places the record past the end of the data file.");
    // The engine sets a longer record aside unread; a file of any size
    // (or a damaged database) costs the window no more than this.
    if (place->length > RecordLimits{}.largestRecord) return fail("The record is longer than 16 MiB.");
    // The separator after it, when the file holds one.
    ByteRange range = *place;
    range.length += std::min<std::uint64_t>(map.preview_.separatorSize(), size - place->offset - place->length);

    std::string why;
    auto keep = [&](std::string_view bytes) {
        map.bytes_.append(bytes);
        return true;
    };
    if (!data->read({range}, keep, why)) return fail(why);
    // The record alone, as the run cut it from the whole file.
    map.rows_ = map.preview_.cut(map.bytes_, map.bytes_.size(), PreviewLimits{1, map.bytes_.size()});
    if (map.rows_.rows.size() != 1 || map.rows_.rows[0].length != place->length)
        return fail("The data file does not hold the record where the database says the run found it.");
    return map;
}

int StoredRecordMap::fieldOfColumn(const std::string& name) const {
    const std::vector<PreviewColumn>& columns = preview_.columns();
    for (std::size_t k = 0; k < columns.size(); ++k)
        if (columns[k].name == name) return preview_.mapField(k);
    return -1;
}

}  // namespace velmora
