#include "sample_width.h"

namespace {

// One output step is q = 2^shift input units. The dither is the
// difference of two uniform values in [0, q): triangular over (-q, q),
// mean 0, both taken from one 32-bit draw (shift is at most 16). The sum
// is taken in 64 bits: a damaged stream may hand over values wider than it
// says, and they must clip, not wrap.
void dither_down(const int32_t* in, size_t count, unsigned shift, DitherSource& dither, int16_t* out)
{
    const uint32_t mask = (uint32_t{1} << shift) - 1;
    const int64_t half = int64_t{1} << (shift - 1);
    for (size_t i = 0; i < count; ++i) {
        const uint32_t r = dither.next();
        const int64_t noise = static_cast<int64_t>(r & mask) - static_cast<int64_t>((r >> 16) & mask);
        int64_t v = (int64_t{in[i]} + noise + half) >> shift;
        if (v > 32767)
            v = 32767;
        if (v < -32768)
            v = -32768;
        out[i] = static_cast<int16_t>(v);
    }
}

}  // namespace

void reduce_to_16(const int32_t* in, size_t count, int width, DitherSource& dither, int16_t* out)
{
    if (width >= 1 && width < 16) {
        const unsigned shift = static_cast<unsigned>(16 - width);
        for (size_t i = 0; i < count; ++i)
            out[i] = static_cast<int16_t>(static_cast<uint32_t>(in[i]) << shift);
        return;
    }
    if (width <= 16 || width > 32) {
        for (size_t i = 0; i < count; ++i)
            out[i] = static_cast<int16_t>(in[i]);
        return;
    }

    dither_down(in, count, static_cast<unsigned>(width - 16), dither, out);
}
