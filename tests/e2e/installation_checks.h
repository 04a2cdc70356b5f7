#pragma once
// What an installation of the product leaves on the machine, and what its
// removal takes away, as both setup programs promise it (the NSIS setup
// program and the .msi): checked under Wine's real registry and files.
#include <string>

namespace velmora::test {

// The folder "Open Existing..." starts in, made by setup.
inline const std::string kConfigFolder = "C:\\Velmora\\VmTarnParser";

// The Start menu entry among every user's programs, or the installing
// user's.
std::string commonStartMenuEntry();
std::string userStartMenuEntry();

// The program a shortcut starts, as the shell reads it; "" when none.
std::string shortcutTarget(const std::string& link);

// A key of HKEY_LOCAL_MACHINE in the 64-bit view.
bool machineKeyExists(const char* key);

// The product installed in `folder` (no final backslash), its Start menu
// entry at `startMenuEntry`: the programs and the policy template, the
// engine's folder recorded, the program's keys open to the Users group (and
// nothing above them), its event source, the configuration folder.
void expectInstalledIn(const std::string& folder, const std::string& startMenuEntry);

// All of that gone again, the configuration folder aside (it goes only
// when empty), in either Start menu.
void expectRemovedFrom(const std::string& folder);

}  // namespace velmora::test
