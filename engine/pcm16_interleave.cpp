#include "pcm16_interleave.h"

namespace {

template <bool big_endian>
inline void store(uint8_t* p, int32_t sample, unsigned shift)
{
    const uint32_t v = static_cast<uint32_t>(sample) << shift;
    p[big_endian ? 0 : 1] = static_cast<uint8_t>(v >> 8);
    p[big_endian ? 1 : 0] = static_cast<uint8_t>(v);
}

template <bool big_endian>
void interleave(const int32_t* const planes[], unsigned in_channels, unsigned out_channels, size_t first, size_t count,
                unsigned shift, uint8_t* out)
{
    const int32_t* left = planes[0] + first;
    if (out_channels == 1) {
        for (size_t i = 0; i < count; ++i)
            store<big_endian>(out + 2 * i, left[i], shift);
        return;
    }
    const int32_t* right = in_channels == 2 ? planes[1] + first : left;
    for (size_t i = 0; i < count; ++i) {
        store<big_endian>(out + 4 * i, left[i], shift);
        store<big_endian>(out + 4 * i + 2, right[i], shift);
    }
}

}  // namespace

void interleave_pcm16(const int32_t* const planes[], unsigned in_channels, unsigned out_channels, size_t first,
                      size_t count, int bits, bool big_endian, uint8_t* out)
{
    const unsigned shift = bits >= 1 && bits < 16 ? static_cast<unsigned>(16 - bits) : 0;
    if (big_endian)
        interleave<true>(planes, in_channels, out_channels, first, count, shift, out);
    else
        interleave<false>(planes, in_channels, out_channels, first, count, shift, out);
}
