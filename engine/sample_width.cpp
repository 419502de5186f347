#include "sample_width.h"

#include <cstring>
#include <type_traits>

#include "fixed_point.h"

namespace {

// Where the 16-bit results go: an array of int16_t, or the device's bytes.
struct ToSamples {
    int16_t* out;
    void put(size_t i, int32_t v) const { out[i] = static_cast<int16_t>(v); }
};

// `copies` is 2 for a mono stream on a stereo device: each sample on both
// channels, one 32-bit store.
template <bool big_endian, unsigned copies>
struct ToBytes {
    uint8_t* out;
    void put(size_t i, int32_t v) const
    {
        constexpr bool host_big = __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__;
        uint16_t word = static_cast<uint16_t>(v);
        if constexpr (big_endian != host_big)
            word = __builtin_bswap16(word);
        if constexpr (copies == 2) {
            const uint32_t both = uint32_t{word} << 16 | word;
            memcpy(out + 4 * i, &both, 4);
        } else {
            memcpy(out + 2 * i, &word, 2);  // one store; the buffer need not be aligned
        }
    }
};

// A right shift known only at run time, or (std::integral_constant) one
// the compiler knows: the masks and shifts of the common widths become
// immediates, which spares registers on a 32-bit CPU.
struct AnyShift {
    unsigned value;
    constexpr operator unsigned() const { return value; }
};
template <unsigned value>
using FixedShift = std::integral_constant<unsigned, value>;

// One output step is q = 2^shift input units. The dither is the
// difference of two uniform values in [0, q): triangular over (-q, q),
// mean 0, both taken from one 32-bit draw (shift is at most 16). One clip,
// before the sum, serves both ends: to just inside what no noise can carry
// past 16 bits (full scale stays reachable), which also keeps a damaged
// stream's values wider than their width from wrapping. The sum then fits
// 32 bits up to 31-bit values (the box's CPU has no cheap 64-bit
// arithmetic).
template <typename Sum, class Shift, class Out>
void dither_down(const int32_t* in, size_t count, Shift shift_by, DitherSource& source, Out out)
{
    DitherSource dither = source;  // a local copy stays in a register

    const unsigned shift = shift_by;
    const uint32_t mask = (uint32_t{1} << shift) - 1;
    const Sum q = Sum{1} << shift;
    const Sum half = q / 2;
    const Sum top = 32767 * q - half;        // + (q - 1) + half rounds down to 32767
    const Sum bottom = -32768 * q + half - 1;  // - (q - 1) + half rounds down to -32768
    for (size_t i = 0; i < count; ++i) {
        const Sum x = in[i] > top ? top : in[i] < bottom ? bottom : in[i];
        const uint32_t r = dither.next();
        const Sum noise = static_cast<Sum>(r & mask) - static_cast<Sum>((r >> 16) & mask);
        out.put(i, static_cast<int32_t>((x + noise + half) >> shift));
    }
    source = dither;
}

template <class Out>
void reduce(const int32_t* in, size_t count, int width, DitherSource& dither, Out out)
{
    if (width >= 1 && width < 16) {
        const unsigned shift = static_cast<unsigned>(16 - width);
        for (size_t i = 0; i < count; ++i)
            out.put(i, static_cast<int32_t>(static_cast<uint32_t>(in[i]) << shift));
        return;
    }
    if (width <= 16 || width > 32) {
        for (size_t i = 0; i < count; ++i)
            out.put(i, in[i]);
        return;
    }

    // The rate step's values (30 bits) and 24-bit samples are the most common.
    const unsigned shift = static_cast<unsigned>(width - 16);
    if (width == rate_sample_width)
        dither_down<int32_t>(in, count, FixedShift<rate_sample_width - 16>{}, dither, out);
    else if (width == 24)
        dither_down<int32_t>(in, count, FixedShift<8>{}, dither, out);
    else if (width <= 31)
        dither_down<int32_t>(in, count, AnyShift{shift}, dither, out);
    else
        dither_down<int64_t>(in, count, AnyShift{shift}, dither, out);
}

}  // namespace

void reduce_to_16(const int32_t* in, size_t count, int width, DitherSource& dither, int16_t* out)
{
    reduce(in, count, width, dither, ToSamples{out});
}

void reduce_to_pcm16(const int32_t* in, size_t count, int width, DitherSource& dither, bool big_endian, uint8_t* out,
                     unsigned copies)
{
    if (copies == 2)
        big_endian ? reduce(in, count, width, dither, ToBytes<true, 2>{out})
                   : reduce(in, count, width, dither, ToBytes<false, 2>{out});
    else
        big_endian ? reduce(in, count, width, dither, ToBytes<true, 1>{out})
                   : reduce(in, count, width, dither, ToBytes<false, 1>{out});
}

namespace {

// Values wider than the rate converters' 30 bits: rounded down.
struct NarrowBy {
    unsigned shift;
    int32_t operator()(int32_t v) const { return v >> shift; }
};

// Narrower ones: clipped to their width (a damaged stream may hand over
// more), then shifted up.
struct WidenBy {
    int32_t top, bottom;
    unsigned shift;
    int32_t operator()(int32_t v) const
    {
        const int32_t x = v > top ? top : v < bottom ? bottom : v;
        return static_cast<int32_t>(static_cast<uint32_t>(x) << shift);
    }
};

// Calls `apply` with the step from `width` bits to the rate converters'.
template <class Apply>
void with_widening(int width, Apply apply)
{
    if (width < 1)
        width = 16;
    if (width > rate_sample_width) {
        apply(NarrowBy{static_cast<unsigned>(width - rate_sample_width)});
        return;
    }
    const int32_t top = static_cast<int32_t>((int64_t{1} << (width - 1)) - 1);
    apply(WidenBy{top, -top - 1, static_cast<unsigned>(rate_sample_width - width)});
}

// Frame by frame, so that the output's channel count is a constant.
template <unsigned outs, class Step>
void widen_frames(const int32_t* const planes[], unsigned in_channels, size_t first, size_t count, Step step,
                  int32_t* out)
{
    const int32_t* left = planes[0] + first;
    const int32_t* right = in_channels == 2 ? planes[1] + first : left;
    for (size_t i = 0; i < count; ++i) {
        out[outs * i] = step(left[i]);
        if (outs == 2)
            out[2 * i + 1] = step(right[i]);
    }
}

}  // namespace

void widen_to_rate_width(int32_t* values, size_t count, int width)
{
    with_widening(width, [&](auto step) {
        for (size_t i = 0; i < count; ++i)
            values[i] = step(values[i]);
    });
}

void widen_planes_to_rate_width(const int32_t* const planes[], unsigned in_channels, unsigned out_channels,
                                size_t first, size_t count, int width, int32_t* out)
{
    with_widening(width, [&](auto step) {
        if (out_channels == 2)
            widen_frames<2>(planes, in_channels, first, count, step, out);
        else
            widen_frames<1>(planes, in_channels, first, count, step, out);
    });
}
