#include "src/viewer/full_card_numbers.h"

#include <utility>

#include "src/app/policies.h"
#include "src/parse/registry_string.h"

namespace velmora {

FullCardNumbers::FullCardNumbers(Registry& registry, Audit& audit, Prompts& prompts, std::string fileKind)
    : registry_(registry), audit_(audit), prompts_(prompts), fileKind_(std::move(fileKind)) {}

bool FullCardNumbers::allowed() {
    const std::string group = readRegistryString(
        registry_, std::string("HKEY_LOCAL_MACHINE\\") + kPoliciesKeyPath + "\\" + kFullCardNumbersGroup);
    return !group.empty() && audit_.isMember(group);
}

bool FullCardNumbers::show(bool asked, const std::string& file) {
    if (!asked) {
        shown_.clear();
        return false;
    }
    if (file == shown_) return true;
    shown_.clear();
    if (!record(AuditEvent::FullCardNumbersShown, "Full card numbers shown.", file,
                "Card numbers cannot be shown in full"))
        return false;
    shown_ = file;
    return true;
}

bool FullCardNumbers::exported(const std::string& file, const std::string& target) {
    return record(AuditEvent::FullCardNumbersExported, "Card numbers exported in full to " + target + ".", file,
                  "Card numbers cannot be exported in full to " + target);
}

bool FullCardNumbers::record(AuditEvent event, const std::string& what, const std::string& file,
                             const std::string& refusal) {
    const std::string text = what + "\r\nUser: " + audit_.userName() + "\r\n" + fileKind_ + ": " + file;
    std::string why;
    if (audit_.writeEvent(event, text, why)) return true;
    prompts_.messageBox(refusal + ": the event log cannot record it. " + why, kAppTitle, MessageIcon::Error,
                        MessageButtons::Ok);
    return false;
}

}  // namespace velmora
