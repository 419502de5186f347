#include "sample_width.h"

#include "fixed_point.h"

namespace {

// One output step is q = 2^shift input units. The dither is the
// difference of two uniform values in [0, q): triangular over (-q, q),
// mean 0, both taken from one 32-bit draw (shift is at most 16). A damaged
// stream may hand over values wider than it says: they are clipped to the
// width first, so the sum fits 32 bits up to 30-bit values (the box's CPU
// has no cheap 64-bit arithmetic) and clips instead of wrapping.
template <typename Sum>
void dither_down(const int32_t* in, size_t count, unsigned shift, DitherSource& source, int16_t* out)
{
    DitherSource dither = source;  // a local copy stays in a register

    const uint32_t mask = (uint32_t{1} << shift) - 1;
    const Sum half = Sum{1} << (shift - 1);
    const int32_t top = static_cast<int32_t>((int64_t{1} << (shift + 15)) - 1);
    const int32_t bottom = -top - 1;
    for (size_t i = 0; i < count; ++i) {
        const int32_t x = in[i] > top ? top : in[i] < bottom ? bottom : in[i];
        const uint32_t r = dither.next();
        const Sum noise = static_cast<Sum>(r & mask) - static_cast<Sum>((r >> 16) & mask);
        Sum v = (static_cast<Sum>(x) + noise + half) >> shift;
        if (v > 32767)
            v = 32767;
        if (v < -32768)
            v = -32768;
        out[i] = static_cast<int16_t>(v);
    }
    source = dither;
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

    const unsigned shift = static_cast<unsigned>(width - 16);
    if (width <= 30)
        dither_down<int32_t>(in, count, shift, dither, out);
    else
        dither_down<int64_t>(in, count, shift, dither, out);
}

void widen_to_rate_width(int32_t* values, size_t count, int width)
{
    if (width < 1)
        width = 16;
    if (width > rate_sample_width) {
        const unsigned shift = static_cast<unsigned>(width - rate_sample_width);
        for (size_t i = 0; i < count; ++i)
            values[i] >>= shift;
        return;
    }
    const int32_t top = static_cast<int32_t>((int64_t{1} << (width - 1)) - 1);
    const int32_t bottom = -top - 1;
    const int32_t scale = int32_t{1} << (rate_sample_width - width);
    for (size_t i = 0; i < count; ++i) {
        const int32_t x = values[i] > top ? top : values[i] < bottom ? bottom : values[i];
        values[i] = x * scale;
    }
}
