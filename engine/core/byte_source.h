#pragma once
// Where the record cutter takes its bytes from: the data file as a stream,
// or memory in tests and the fuzzer.
#include <cstddef>
#include <cstdio>
#include <string>

namespace velmora {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Up to `size` bytes into `buffer`; 0 at the end or on a read error.
    virtual size_t read(char* buffer, size_t size) = 0;
    virtual bool failed() const { return false; }
};

class MemorySource : public ByteSource {
public:
    explicit MemorySource(std::string bytes, size_t largestRead = static_cast<size_t>(-1))
        : bytes_(std::move(bytes)), largestRead_(largestRead) {}
    size_t read(char* buffer, size_t size) override;

private:
    std::string bytes_;
    size_t largestRead_;  // tests cut the stream into small reads
    size_t pos_ = 0;
};

// Reads an open file; the caller owns the FILE.
class FileSource : public ByteSource {
public:
    explicit FileSource(std::FILE* file) : file_(file) {}
    size_t read(char* buffer, size_t size) override;
    bool failed() const override;

private:
    std::FILE* file_;
};

}  // namespace velmora
