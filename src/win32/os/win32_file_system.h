#pragma once
// The real files and folders, through the ANSI file functions.
#include <cstdint>

#include "src/toolkit/file_system.h"

namespace velmora {

class Win32FileSystem : public FileSystem {
public:
    bool exists(const std::string& path) override;
    PathKind pathKind(const std::string& path) override;
    bool createDirectory(const std::string& path) override;
    bool deleteFile(const std::string& path) override;
    bool deletable(const std::string& path) override;
    FileContent read(const std::string& path) override;
    std::optional<FileStart> readFileStart(const std::string& path, std::size_t limit, std::string& why) override;
    NewFile createNewFile(const std::string& path) override;
    bool writeFile(const std::string& path, const std::string& bytes) override;
    bool appendFile(const std::string& path, const std::string& bytes, bool flush) override;
    bool replaceFile(const std::string& from, const std::string& to) override;
    bool moveFile(const std::string& from, const std::string& to) override;
    std::u16string nameAsUtf16(const std::string& path) override;
    std::optional<FileStamp> stamp(const std::string& utf8Path) override;
    bool readRanges(const std::string& utf8Path, const FileStamp& expected, const std::vector<ByteRange>& ranges,
                    const std::function<bool(std::string_view)>& each, std::string& why) override;
};

// The attributes a replaced file ends with: the old file's, with the
// archive attribute set as any write sets it (backup tools rely on it).
std::uint32_t replacedFileAttributes(std::uint32_t old);

}  // namespace velmora
