#pragma once
// Helpers for the engine's tests: a scratch folder of real files, a
// configuration built through the editor's own writer, and reading a
// database back.
#include <string>
#include <vector>

#include "config/parse_configuration.h"
#include "engine/engine_configuration.h"

namespace velmora::test {

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
