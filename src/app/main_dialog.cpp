#include "src/app/main_dialog.h"

#include "src/app/about_dialog.h"
#include "src/app/main_dialog_description.h"
#include "src/editor/configure_dialog.h"
#include "src/parse/parse_dialog.h"
#include "src/viewer/results_dialog.h"

namespace velmora {

MainDialog::MainDialog(Prompts& prompts, const Services& services, const StringTable& strings)
    : Dialog(mainDialogDescription(strings.load(kStringAboutCommand)), prompts), services_(services) {}

EventResult MainDialog::onEvent(const DialogEvent& event) {
    switch (event.kind) {
    case DialogEvent::Clicked:
        // Each child dialog lives for one showing; its result is not used.
        if (event.id == kIdMainConfigure) {
            ConfigureDialog configure(prompts(), services_.files, services_.registry, services_.audit);
            prompts().runModal(configure);
            return EventResult::Handled;
        }
        if (event.id == kIdMainResults) {
            ResultsDialog results(prompts(), services_.files, services_.registry, services_.audit);
            prompts().runModal(results);
            return EventResult::Handled;
        }
        if (event.id == kIdMainParse) {
            ParseDialog parse(prompts(), services_);
            prompts().runModal(parse);
            return EventResult::Handled;
        }
        return EventResult::Unhandled;
    case DialogEvent::SystemCommand:
        if ((event.id & ~0xF) != kIdAboutCommand) return EventResult::Unhandled;
        {
            AboutDialog about(prompts());
            prompts().runModal(about);
        }
        return EventResult::Handled;
    case DialogEvent::Help:
        return EventResult::Handled;
    default:
        return EventResult::Unhandled;  // Exit, Escape and the close box end it
    }
}

}  // namespace velmora
