#pragma once
// The few things the engine asks of the operating system that differ
// between Windows and POSIX. One implementation file per platform.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace velmora {

// Makes a write to a closed pipe fail instead of ending the process, so
// that a cancelled run still removes what it began.
void reportBrokenPipes();

// The program's arguments after its own name. On Windows they are cut from
// the raw command line by the Windows rules, so paths with blanks survive.
std::vector<std::string> programArguments(int argc, char** argv);

// A path in the system's narrow encoding as UTF-8, as SQLite takes names.
std::string pathAsUtf8(const std::string& path);

// Moves `from` onto `to`, replacing a file there. False with `error` set.
bool replaceFile(const std::string& from, const std::string& to, std::string& error);

// The size of an open file in bytes; 0 when it cannot be told.
uint64_t openFileSize(std::FILE* file);

// Whether the two names reach the same existing file.
bool sameFile(const std::string& a, const std::string& b);

}  // namespace velmora
