#pragma once
// Who may do what with a file, as each platform says it: its mode bits on
// POSIX, its access list on Windows. One file per platform.
#include <string>

namespace velmora::test {

// Comparable between files; "" when it cannot be read.
std::string accessOf(const std::string& path);
// Whether anyone but the owner (and the system) may read by it.
bool othersMayRead(const std::string& access);
// Makes the file its owner's alone.
void makePrivate(const std::string& path);

}  // namespace velmora::test
