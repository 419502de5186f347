#ifndef LIRVA_ENGINE_SAMPLE_WIDTH_H
#define LIRVA_ENGINE_SAMPLE_WIDTH_H

#include <cstddef>
#include <cstdint>

// The width step: values of any width (1 to 32 bits) to the device's 16.
//   narrower  shifted up (exact: full scale stays full scale)
//   16        as they are
//   wider     rounded once to 16 bits with TPDF dither, then clipped

// The dither's source: a small deterministic generator (xorshift32),
// seeded at the start of every play, so a file always gives the same bytes.
class DitherSource {
public:
    void seed(uint32_t value) { state_ = value != 0 ? value : 0x9E3779B9u; }
    uint32_t next()
    {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }

private:
    uint32_t state_ = 0x9E3779B9u;
};

constexpr uint32_t dither_seed_per_play = 0x4C697276u;

// Brings `count` values of `width` bits (other widths count as 16) to
// 16 bits. `in` and `out` do not overlap.
void reduce_to_16(const int32_t* in, size_t count, int width, DitherSource& dither, int16_t* out);

// reduce_to_16 and the byte-order step (store_pcm16) in one pass: the same
// 16-bit samples, as the device's bytes, most significant first
// (big_endian) or last, without a pass over an array between them. With
// `copies` 2, each sample goes out twice side by side (a mono stream on a
// stereo device, dithered once: it stays mono), count x 4 bytes.
void reduce_to_pcm16(const int32_t* in, size_t count, int width, DitherSource& dither, bool big_endian, uint8_t* out,
                     unsigned copies = 1);

// Brings `count` values of `width` bits (1 to 32) in place to the rate
// converters' 30 bits (fixed_point.h): narrower ones clipped to their width
// (a damaged stream may hand over more) and shifted up, wider ones rounded
// down.
void widen_to_rate_width(int32_t* values, size_t count, int width);

// A copying channel step (mono or stereo to as many channels, mono doubled
// to stereo; planes[c][i] is sample i of channel c) and widen_to_rate_width
// in one pass: `count` inter-channel samples from `first` to
// count x out_channels interleaved values at `out`.
void widen_planes_to_rate_width(const int32_t* const planes[], unsigned in_channels, unsigned out_channels,
                                size_t first, size_t count, int width, int32_t* out);

#endif
