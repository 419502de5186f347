#include "sample_convert.h"

namespace {

inline void store_be16(uint8_t* p, uint32_t v)
{
    p[0] = static_cast<uint8_t>(v >> 8);
    p[1] = static_cast<uint8_t>(v);
}

// One way of bringing a decoded value to 16 bits. Each returns the 16-bit
// two's-complement pattern in the low bits of the result.
struct TakeAsIs {
    uint32_t operator()(int32_t x) const { return static_cast<uint32_t>(x); }
};

struct ShiftUp {
    unsigned shift;   // 16 - width
    uint32_t operator()(int32_t x) const { return static_cast<uint32_t>(x) << shift; }
};

struct RoundDown {
    unsigned shift;   // width - 16
    uint32_t operator()(int32_t x) const
    {
        // 64 bits: adding the half must not overflow for 32-bit samples.
        int64_t v = (static_cast<int64_t>(x) + (int64_t{1} << (shift - 1))) >> shift;
        if (v > 32767)
            v = 32767;
        if (v < -32768)
            v = -32768;
        return static_cast<uint32_t>(v);
    }
};

template <typename To16>
void interleave(const int32_t* const planes[], unsigned channels, size_t first,
                size_t count, uint8_t* out, To16 to16)
{
    if (channels == 1) {
        const int32_t* m = planes[0] + first;
        for (size_t i = 0; i < count; ++i)
            store_be16(out + 2 * i, to16(m[i]));
    } else if (channels == 2) {
        const int32_t* l = planes[0] + first;
        const int32_t* r = planes[1] + first;
        for (size_t i = 0; i < count; ++i) {
            store_be16(out + 4 * i, to16(l[i]));
            store_be16(out + 4 * i + 2, to16(r[i]));
        }
    } else {
        const size_t stride = 2 * size_t{channels};
        for (unsigned c = 0; c < channels; ++c) {
            const int32_t* p = planes[c] + first;
            uint8_t* o = out + 2 * c;
            for (size_t i = 0; i < count; ++i)
                store_be16(o + i * stride, to16(p[i]));
        }
    }
}

}  // namespace

void convert_to_s16be(const int32_t* const planes[], unsigned channels,
                      size_t first, size_t count, int bits_per_sample,
                      uint8_t* out)
{
    if (bits_per_sample >= 1 && bits_per_sample < 16)
        interleave(planes, channels, first, count, out,
                   ShiftUp{static_cast<unsigned>(16 - bits_per_sample)});
    else if (bits_per_sample > 16 && bits_per_sample <= 32)
        interleave(planes, channels, first, count, out,
                   RoundDown{static_cast<unsigned>(bits_per_sample - 16)});
    else
        interleave(planes, channels, first, count, out, TakeAsIs{});
}
