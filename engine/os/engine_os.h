#pragma once
// The few things the engine asks of the operating system that differ
// between Windows and POSIX. One implementation file per platform.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "format/base/file_stamp.h"

namespace velmora {

// Makes a write to a closed pipe fail instead of ending the process, so
// that a cancelled run still removes what it began.
void reportBrokenPipes();

// Standard output writes bytes as they are: on Windows no CR goes before
// each LF.
void standardOutputInBinary();

// The program's arguments after its own name. On Windows they are cut from
// the raw command line by the Windows rules, so paths with blanks survive.
std::vector<std::string> programArguments(int argc, char** argv);

// A path in the system's narrow encoding as UTF-8, as SQLite takes names.
std::string pathAsUtf8(const std::string& path);

// The size and last-write time of an open file; nothing known (size 0, an
// empty time) when they cannot be told or it is no plain file (a pipe).
FileStamp openFileStamp(std::FILE* file);

// Whether the two names reach the same file, existing or not: the same
// existing file, or the same name in the same folder (compared as the file
// system compares names).
bool samePlace(const std::string& a, const std::string& b);

// The name with its folder, as the system settles it: on Windows with "."
// and "..", slashes and the trailing dots and blanks that Windows drops
// settled; on POSIX as it is.
std::string fullPath(const std::string& path);

// Whether the path names a folder.
bool isFolder(const std::string& path);

// What a name leads to, a link there not followed.
enum class PathKind { Missing, File, Link, Folder, Other };
PathKind pathKind(const std::string& path);

// Which file an open file is: two files are the same one when these agree
// (device and inode; volume serial number and file index), whatever their
// names.
struct FileIdentity {
    uint64_t volume = 0, index = 0;
    bool known = false;
    bool operator==(const FileIdentity& o) const { return known && o.known && volume == o.volume && index == o.index; }
};
FileIdentity openFileIdentity(std::FILE* file);

// A number that differs from run to run and from call to call, for names
// of the run's own.
std::string uniqueSuffix();

// The PC's name, as the run records it in a database server.
std::string computerName();

// Removes a file, never a folder; false when nothing was removed.
bool removeFile(const std::string& path);

}  // namespace velmora
