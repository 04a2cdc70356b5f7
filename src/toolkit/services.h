#pragma once
// The operating-system services a dialog may need, handed over as one.
#include "src/toolkit/file_system.h"
#include "src/toolkit/processes.h"
#include "src/toolkit/registry.h"
#include "src/toolkit/audit.h"

namespace velmora {

struct Services {
    FileSystem& files;
    Registry& registry;
    Processes& processes;
    Audit& audit;
};

}  // namespace velmora
