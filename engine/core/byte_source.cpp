#include "engine/core/byte_source.h"

#include <algorithm>
#include <cstring>

namespace velmora {

size_t MemorySource::read(char* buffer, size_t size) {
    size_t n = std::min({size, largestRead_, bytes_.size() - pos_});
    std::memcpy(buffer, bytes_.data() + pos_, n);
    pos_ += n;
    return n;
}

size_t FileSource::read(char* buffer, size_t size) { return std::fread(buffer, 1, size, file_); }

bool FileSource::failed() const { return std::ferror(file_) != 0; }

}  // namespace velmora
