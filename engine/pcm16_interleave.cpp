#include "pcm16_interleave.h"

#include <cstring>

namespace {

template <bool big_endian>
inline void store(uint8_t* p, int32_t sample, unsigned shift)
{
    const uint32_t v = static_cast<uint32_t>(sample) << shift;
    p[big_endian ? 0 : 1] = static_cast<uint8_t>(v >> 8);
    p[big_endian ? 1 : 0] = static_cast<uint8_t>(v);
}

// A stereo frame's four bytes as one 32-bit word of the host's order: the
// two samples side by side, the whole word byte-swapped where the host's
// order is not the device's.
template <bool big_endian>
inline uint32_t frame_word(int32_t left, int32_t right, unsigned shift)
{
    const uint32_t l = static_cast<uint32_t>(left) << shift;
    const uint32_t r = static_cast<uint32_t>(right) << shift;
    constexpr bool host_big = __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__;
    // Read big-endian: left's bytes, then right's; or right's, then left's.
    const uint32_t left_first = l << 16 | (r & 0xFFFF);
    const uint32_t right_first = r << 16 | (l & 0xFFFF);
    if constexpr (big_endian == host_big)
        return host_big ? left_first : right_first;
    else
        return __builtin_bswap32(host_big ? right_first : left_first);
}

// `shift` is 0 for 16-bit samples, the most common: a constant then.
template <bool big_endian, bool shifted>
void interleave(const int32_t* const planes[], unsigned in_channels, unsigned out_channels, size_t first, size_t count,
                unsigned shift, uint8_t* out)
{
    if (!shifted)
        shift = 0;
    const int32_t* left = planes[0] + first;
    if (out_channels == 1) {
        for (size_t i = 0; i < count; ++i)
            store<big_endian>(out + 2 * i, left[i], shift);
        return;
    }
    const int32_t* right = in_channels == 2 ? planes[1] + first : left;
#pragma GCC unroll 4
    for (size_t i = 0; i < count; ++i) {
        const uint32_t word = frame_word<big_endian>(left[i], right[i], shift);
        memcpy(out + 4 * i, &word, 4);  // one store; the buffer need not be aligned
    }
}

}  // namespace

void interleave_pcm16(const int32_t* const planes[], unsigned in_channels, unsigned out_channels, size_t first,
                      size_t count, int bits, bool big_endian, uint8_t* out)
{
    const unsigned shift = bits >= 1 && bits < 16 ? static_cast<unsigned>(16 - bits) : 0;
    if (big_endian)
        (shift != 0 ? interleave<true, true> : interleave<true, false>)(planes, in_channels, out_channels, first, count,
                                                                           shift, out);
    else
        (shift != 0 ? interleave<false, true> : interleave<false, false>)(planes, in_channels, out_channels, first,
                                                                             count, shift, out);
}
