#pragma once
// The user, his groups and the event log in memory: a test says who the
// user is and which groups he is in, reads back every event written, and
// can make the log refuse.
#include <set>
#include <string>
#include <vector>

#include "src/toolkit/audit.h"

namespace velmora {

class RecordedAudit : public Audit {
public:
    std::string user = "VELMORA\\operator";
    // By name or SID, as the policy may name them.
    std::set<std::string> groups;
    // Set: no event can be written, and this is why.
    std::string refusal;
    struct Event {
        AuditEvent id;
        std::string text;
    };
    std::vector<Event> events;

    bool isMember(const std::string& group) override { return groups.count(group) > 0; }
    std::string userName() override { return user; }
    bool writeEvent(AuditEvent event, const std::string& text, std::string& why) override;
};

}  // namespace velmora
