#pragma once
// The operating system's services for the program: one of each, handed to
// the dialogs as Services.
#include "src/toolkit/services.h"
#include "src/win32/os/win32_file_system.h"
#include "src/win32/os/win32_processes.h"
#include "src/win32/os/win32_registry.h"
#include "src/win32/os/win32_audit.h"

namespace velmora {

struct Win32Services {
    Win32FileSystem files;
    Win32Registry registry;
    Win32Processes processes;
    Win32Audit audit;

    Services services() { return Services{files, registry, processes, audit}; }
};

}  // namespace velmora
