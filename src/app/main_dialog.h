#pragma once
// The main window: "Parse...", "Configure...", "Results..." and "Exit", and
// the About box from the system menu. Closing it ends the program.
#include "src/toolkit/dialog.h"
#include "src/toolkit/services.h"
#include "src/toolkit/string_table.h"

namespace velmora {

class MainDialog : public Dialog {
public:
    MainDialog(Prompts& prompts, const Services& services, const StringTable& strings);

protected:
    EventResult onEvent(const DialogEvent& event) override;

private:
    Services services_;
};

}  // namespace velmora
