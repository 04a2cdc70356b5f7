#pragma once
// The operating-system services a dialog may need, handed over as one.
#include "toolkit/audit.h"
#include "toolkit/file_system.h"
#include "toolkit/processes.h"
#include "toolkit/registry.h"

namespace velmora {

struct Services {
    FileSystem& files;
    Registry& registry;
    Processes& processes;
    Audit& audit;
};

}  // namespace velmora
