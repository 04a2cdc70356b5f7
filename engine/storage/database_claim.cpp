#include "engine/storage/database_claim.h"

#include "engine/storage/output_paths.h"

namespace velmora {

Status DatabaseClaim::claim(const std::string& databasePath) {
    path_ = partialDatabasePath(databasePath);
    Result<Holder> held = hold(path_);
    if (!held) return fail("cannot create the temporary database " + path_ + ": " + held.failure());
    if (*held == Holder::AnotherRun)
        return fail("the database " + databasePath + " is being written by another run (" + path_ + " is in use)");
    return {};
}

}  // namespace velmora
