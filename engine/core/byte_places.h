#pragma once
// The places of one byte in some bytes, in order, found 16 bytes at a time.
// Where short fields are cut by one byte (the commonest shape), one look at
// a block serves several fields; a memchr per field paid its call and its
// set-up each time, and was most of what locating such a record cost.
#include <cstdint>
#include <string_view>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace velmora {

class BytePlaces {
public:
    BytePlaces(std::string_view text, char byte) : text_(text), byte_(byte) {
        if (!text_.empty()) load(0);
    }

    // The first place after the one returned before (the first of all at
    // first); npos once there are no more.
    size_t next() {
        while (mask_ == 0) {
            if (block_ + kBlock >= text_.size()) return std::string_view::npos;
            load(block_ + kBlock);
        }
        const size_t at = block_ + static_cast<size_t>(__builtin_ctz(mask_));
        mask_ &= mask_ - 1;
        return at;
    }

private:
    static constexpr size_t kBlock = 16;

    // Bit k set where the block's byte k is the byte; none past the end.
    void load(size_t at) {
        block_ = at;
        const char* p = text_.data() + at;
        const size_t left = text_.size() - at;
#if defined(__SSE2__)
        if (left >= kBlock) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            mask_ = static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(byte_))));
            return;
        }
#endif
        mask_ = 0;
        for (size_t k = 0; k < kBlock && k < left; ++k)
            if (p[k] == byte_) mask_ |= 1u << k;
    }

    std::string_view text_;
    char byte_;
    size_t block_ = 0;
    uint32_t mask_ = 0;
};

}  // namespace velmora
