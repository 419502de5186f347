#ifndef LIRVA_ENGINE_CHANNEL_MIX_H
#define LIRVA_ENGINE_CHANNEL_MIX_H

#include <cstddef>
#include <cstdint>

// The channel step: a decoded frame's planes (any of FLAC's 1 to 8 channel
// layouts) to the device's one or two interleaved channels.
//
//   1 -> 2   the sample on both channels (exact)
//   n -> n   as it is (exact)
//   else     a downmix by one fixed-point table: centre and surround
//            channels at -3 dB, the LFE left out, each output row scaled so
//            that full scale on every input channel cannot clip.
//
// A downmix keeps a fraction: its values are `mixed_width` bits wide (15
// bits more than the input up to 16 bits, 31 bits for wider input), so the
// width step alone rounds to 16 bits. Its arithmetic is 32-bit throughout.
constexpr unsigned max_stream_channels = 8;
constexpr int mix_fraction_bits = 15;

// One mix: a copy, or a gain for each input channel into each output.
struct ChannelMix {
    unsigned in_channels = 0;
    unsigned out_channels = 0;
    bool copy = true;                           // pass through or duplicate, no arithmetic
    int32_t gain[2][max_stream_channels] = {};  // Q15, gain[out][in]; each row sums to <= 1.0
};

// The mix from `in_channels` (1 to 8, nothing else) to `out_channels` (1 or 2).
ChannelMix channel_mix_for(unsigned in_channels, unsigned out_channels);

// The width of the mixed values for input samples of `bits` (1 to 32).
int mixed_width(const ChannelMix& mix, int bits);

// Mixes `count` inter-channel samples from sample `first` of `planes`
// (planes[c][i] is sample i of channel c, each `bits` wide) into
// count x out_channels interleaved values at `out`. A downmix wider than
// `at_most` bits is rounded down to that width in the same pass (the rate
// converters take 30).
void mix_channels(const ChannelMix& mix, const int32_t* const planes[], size_t first, size_t count, int bits,
                  int32_t* out, int at_most = 32);

#endif
