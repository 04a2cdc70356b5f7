#include "src/app/about_dialog.h"

#include "src/app/main_dialog_description.h"
#include "src/app/version.h"

namespace velmora {

std::string versionLine(const std::string& versionText) {
    std::string line = "Velmora Data Parser Version ";
    for (char c : versionText) line += c == ',' ? '.' : c;
    return line;
}

AboutDialog::AboutDialog(Prompts& prompts) : Dialog(aboutDialogDescription(), prompts) {
    bindText(kIdAboutProduct, productText);
    bindText(kIdAboutVersion, versionText);
    bindText(kIdAboutNotice, noticeText);
}

EventResult AboutDialog::onEvent(const DialogEvent& event) {
    if (event.kind != DialogEvent::Init) return EventResult::Unhandled;
    productText = VELMORA_PRODUCT_LINE;
    versionText = versionLine(VELMORA_VERSION_TEXT);
    noticeText = VELMORA_NOTICE_LINE;
    push();
    return EventResult::Handled;
}

}  // namespace velmora
