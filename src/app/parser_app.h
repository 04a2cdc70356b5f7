#pragma once
// The application object: makes sure of its registry keys, then runs the
// main window modally; the program ends when the main window closes.
#include "src/toolkit/prompts.h"
#include "src/toolkit/services.h"
#include "src/toolkit/string_table.h"

namespace velmora {

class ParserApp {
public:
    ParserApp(Prompts& prompts, const Services& services, const StringTable& strings);

    // Start-up; returns false, so that the program ends when it returns.
    bool initInstance();
    // Creates or opens the program's two keys and closes them again; false
    // after reporting a failure.
    bool openSettingsKeys();

private:
    Prompts& prompts_;
    Services services_;
    const StringTable& strings_;
};

}  // namespace velmora
