#pragma once
// Who the signed-in user is, which groups his token holds, and the
// Windows Application event log, as the card-data controls need them. The
// Win32 host asks the token and writes real events; the headless host
// keeps them in memory.
#include <string>

namespace velmora {

// The event source setup registers in the Application log.
inline const char* const kEventSource = "Velmora Data Parser";

// The event ids, one for each kind of access, so that a log can be
// filtered by them.
enum class AuditEvent : unsigned {
    FullCardNumbersShown = 1,
    FullCardNumbersExported = 2,
};

class Audit {
public:
    virtual ~Audit() = default;

    // Whether the user's token holds `group`, a group's name or its SID
    // ("S-1-5-32-544"), enabled; false for a group unknown here.
    virtual bool isMember(const std::string& group) = 0;
    // The signed-in user, "DOMAIN\name".
    virtual std::string userName() = 0;
    // Writes `text` as one information event under kEventSource, naming
    // the user; false, with `why` set to the system's words, when it cannot
    // be written.
    virtual bool writeEvent(AuditEvent event, const std::string& text, std::string& why) = 0;
};

}  // namespace velmora
