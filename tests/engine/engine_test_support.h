#pragma once
// Helpers for the engine's tests: a scratch folder of real files, a
// configuration built through the editor's own writer, and reading a
// database back.
#include <string>
#include <vector>

#include "config/parse_configuration.h"
#include "config/engine_configuration.h"

namespace velmora::test {

// The two example configurations of the file format, as the editor writes them.
inline const char* const kFixedLengthExample =
    "fixedLength = 250\r\nrecordSeparator = ''\r\nfirSeparator = ''\r\nfieldsInOrder = 0\r\nfieldDefs = (\r\n"
    "FieldDef(\"PAN\", START_POSITION, 1, FIXED_LENGTH, 19, TEXT_FIELD, \"Y\"),\r\n"
    "FieldDef(\"Photo\", START_POSITION, 20, EMBEDDED_LENGTH, \"\", BINARY_FIELD, \"Y\"),\r\n"
    "FieldDef(\"Chip\", START_POSITION, 100, FIXED_LENGTH, 40, P3_FIELD, \"Y\", \"App1\"),\r\n)\r\n";

inline const char* const kSeparatorExample =
    "fixedLength = 0\r\nrecordSeparator = '\\x0D\\x0A'\r\nfirSeparator = '~'\r\nfieldsInOrder = 1\r\nfieldDefs = (\r\n"
    "FieldDef(\"Name\", START_CODE, \"\\\"\", END_CODE, \"#E1\", TEXT_FIELD, \"Y\"),\r\n"
    "FieldDef(\"PM\", START_CODE, \"#P\", END_CODE, \"#E2\", SCPM_FIELD, \"Y\"),\r\n"
    "FieldDef(\"Script\", START_CODE, \"#S\", TESSELGRAM, \"\", GP_FIELD, \"Y\", \"Issuer\"),\r\n"
    "FieldDef(\"Mag\", None, \"\", END_CODE, \"|\", MAGSTRIPE_FIELD,\"Y\", (\"%\", \"?\", \";\", \"?\", \"\", "
    "\"\")),\r\n"
    ")\r\n";

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string path(const std::string& name) const;  // the folder's file `name`
    void write(const std::string& name, const std::string& bytes) const;
    std::string read(const std::string& name) const;
    bool exists(const std::string& name) const;
    std::vector<std::string> names() const;

private:
    std::string root_;
};

FieldDef field(const std::string& name, const std::string& startType, const std::string& startData,
               const std::string& endType, const std::string& endData, const std::string& fieldType,
               const std::string& fieldTypeData = "");

// The file text the editor writes for these settings and fields.
std::string configText(const std::string& fixedLength, const std::string& recordSeparator,
                       const std::vector<FieldDef>& fields, bool inOrder = true, const std::string& fir = "");

// The configuration the engine runs, from that text; fails the test when
// the strict reader refuses it.
EngineConfiguration engineConfig(const std::string& text);

// Each row of the query's result as its columns joined by "|", NULL as
// "NULL" and blobs in hexadecimal with an "x" before them.
std::vector<std::string> query(const std::string& database, const std::string& sql);

}  // namespace velmora::test
