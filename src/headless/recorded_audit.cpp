#include "src/headless/recorded_audit.h"

namespace velmora {

bool RecordedAudit::writeEvent(AuditEvent event, const std::string& text, std::string& why) {
    if (!refusal.empty()) {
        why = refusal;
        return false;
    }
    events.push_back({event, text});
    return true;
}

}  // namespace velmora
