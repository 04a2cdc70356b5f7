#pragma once
// The operating-system services a dialog may need, handed over as one.
#include "toolkit/file_system.h"
#include "toolkit/processes.h"
#include "toolkit/registry.h"

namespace velmora {

struct Services {
    FileSystem& files;
    Registry& registry;
    Processes& processes;
};

}  // namespace velmora
