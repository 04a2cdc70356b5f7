#pragma once
// Common ground of the Configure dialog scenarios: a fresh dialog on the
// host, an in-memory file system, and the steps an operator repeats.
#include <memory>
#include <string>
#include <utility>

#include "src/editor/configure_dialog.h"
#include "src/editor/configure_dialog_description.h"
#include "src/headless/memory_file_system.h"
#include "src/headless/memory_registry.h"
#include "tests/scenarios/scenario_fixture.h"
#include "src/headless/recorded_audit.h"

namespace velmora::test {

inline const char* const kCfgFilter = "Configuration files (*.cfg)|*.cfg||";

// One field as the operator enters it: radio indexes and typed texts.
struct Field {
    Field(std::string name, int start, std::string startValue, int end, std::string endValue, int type = 0,
          std::string typeData = "")
        : name(std::move(name)),
          start(start),
          startValue(std::move(startValue)),
          end(end),
          endValue(std::move(endValue)),
          type(type),
          typeData(std::move(typeData)) {}
    std::string name;
    int start;
    std::string startValue;
    int end;
    std::string endValue;
    int type;
    std::string typeData;  // application name or script data
};

class ConfigureScenario : public ScenarioTest {
protected:
    void SetUp() override { open(); }
    void open() {
        auto fresh = std::make_unique<ConfigureDialog>(prompts, files, registry, audit);
        host->open(*fresh);
        dialog = std::move(fresh);
    }

    void enter(const Field& f) {
        host->type(kIdFieldName, f.name);
        host->click(kStartRadioIds[f.start]);
        if (f.start == 1) host->type(kIdStartCode, f.startValue);
        if (f.start == 2) host->type(kIdStartPosition, f.startValue);
        host->click(kEndRadioIds[f.end]);
        if (f.end == 1) host->type(kIdEndCode, f.endValue);
        if (f.end == 2) host->type(kIdEndFixedLength, f.endValue);
        if (f.type != host->selectedIndex(kIdFieldType)) host->choose(kIdFieldType, f.type);
        if (f.type == 4) host->type(kIdApplicationName, f.typeData);
        if (f.type == 3 || f.type == 5 || f.type == 6) host->type(kIdScriptData, f.typeData);
    }
    void append(const Field& f) {
        enter(f);
        host->click(kIdAppendField);
    }
    void expectRefusal(const std::string& text, const std::string& caption = "Velmora Data Parser") {
        prompts.expectMessage(text, caption, MessageIcon::Warning);
    }
    int rows() const { return host->listRowCount(kIdFieldList); }
    std::string cell(int row, int column) const { return host->listCell(kIdFieldList, row, column); }
    void saveAs(const std::string& path) {
        prompts.expectFileDialog(kCfgFilter, FileChoice{path, path.substr(path.rfind('\\') + 1)});
        host->click(kIdOk);
    }

    MemoryFileSystem files;
    MemoryRegistry registry;
    RecordedAudit audit;
    std::unique_ptr<ConfigureDialog> dialog;
};

}  // namespace velmora::test
