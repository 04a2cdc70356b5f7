#pragma once
// Card numbers in full, in a dialog that shows card data: only for the
// members of the group the policy names, on the operator's request (a check
// box that starts unchecked), and only once the view or the export is
// written to the Application event log. Where the event cannot be written
// nothing shows or goes out in full, and a message says why.
#include <string>

#include "src/toolkit/audit.h"
#include "src/toolkit/prompts.h"
#include "src/toolkit/registry.h"

namespace velmora {

// "Show full card &numbers" is the system's own caption.
inline const char* const kShowFullCardNumbers = "Show full card &numbers";

class FullCardNumbers {
public:
    // `fileKind` names the file in an event: "Database", "Sample file".
    FullCardNumbers(Registry& registry, Audit& audit, Prompts& prompts, std::string fileKind);

    // Whether the policy names a group the signed-in user is in; absent or
    // empty, nobody is.
    bool allowed();

    // Whether the card numbers of `file` show in full: the operator asks
    // for it (`asked`) and the view is in the event log, written once while
    // it lasts. False after the message when it cannot be written.
    bool show(bool asked, const std::string& file);

    // Whether an export of `file` to `target` may hold full numbers: the
    // event is written. False after the message when it cannot be.
    bool exported(const std::string& file, const std::string& target);

private:
    bool record(AuditEvent event, const std::string& what, const std::string& file, const std::string& refusal);

    Registry& registry_;
    Audit& audit_;
    Prompts& prompts_;
    std::string fileKind_;
    std::string shown_;  // the file whose full view is in the log, while it shows
};

}  // namespace velmora
