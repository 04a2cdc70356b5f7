#pragma once
// The signed-in user's token and the Application event log.
#include "src/toolkit/audit.h"

namespace velmora {

class Win32Audit : public Audit {
public:
    // CheckTokenMembership on the user's token: a group that is only
    // "deny only" there (an administrator's, under User Account Control)
    // is not held.
    bool isMember(const std::string& group) override;
    std::string userName() override;
    // ReportEventA under kEventSource, with the token's user as the
    // event's user.
    bool writeEvent(AuditEvent event, const std::string& text, std::string& why) override;
};

}  // namespace velmora
