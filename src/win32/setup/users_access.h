#pragma once
// VelmoraSetupAccess.dll's one entry point, in the form of a Windows
// Installer custom action; the NSIS setup program calls it too, with 0.
// Gives the Users group full access to HKLM\SOFTWARE\Velmora\VmTarnParser
// and its Settings subkey (creating them when missing), and to nothing
// above them. ERROR_SUCCESS, or ERROR_INSTALL_FAILURE.
#include <windows.h>
#include <msi.h>

extern "C" __declspec(dllexport) UINT __stdcall GrantUsersAccess(MSIHANDLE install);
