#pragma once
// The Parse dialog's part in a run, without the dialog: the inputs it would
// read back, and what the run asked of it.
#include <string>
#include <utility>
#include <vector>

#include "src/parse/run_parse.h"

namespace velmora::test {

class FakeForm : public ParseForm {
public:
    FakeForm() = default;
    explicit FakeForm(ParseInputs given) : inputs(std::move(given)) {}

    ParseInputs inputs;
    bool refuseReadBack = false;
    std::vector<std::string> focused;
    int closed = 0;

    bool readBack(ParseInputs& out) override {
        if (refuseReadBack) return false;
        out = inputs;
        return true;
    }
    void focusDataFile() override { focused.push_back("data"); }
    void focusConfigFile() override { focused.push_back("config"); }
    void closeAccepted() override { ++closed; }
};

}  // namespace velmora::test
