#pragma once
// The operating system's services for the program: one of each, handed to
// the dialogs as Services.
#include "toolkit/services.h"
#include "win32/win32_audit.h"
#include "win32/win32_file_system.h"
#include "win32/win32_processes.h"
#include "win32/win32_registry.h"

namespace velmora {

struct Win32Services {
    Win32FileSystem files;
    Win32Registry registry;
    Win32Processes processes;
    Win32Audit audit;

    Services services() { return Services{files, registry, processes, audit}; }
};

}  // namespace velmora
