#include "channel_mix.h"

namespace {

// Where each channel of FLAC's layouts goes, before scaling:
//   F  a front channel, whole into its own side
//   C  centre (also back centre), -3 dB into both sides
//   SL, SR  a surround or back channel, -3 dB into its side
//   X  the LFE, left out
enum Role : uint8_t { X, FL, FR, C, SL, SR };

constexpr Role layouts[max_stream_channels + 1][max_stream_channels] = {
    {},
    {C},                             // 1: mono (mixed to mono or copied)
    {FL, FR},                        // 2: L R
    {FL, FR, C},                     // 3: L R C
    {FL, FR, SL, SR},                // 4: FL FR BL BR
    {FL, FR, C, SL, SR},             // 5: FL FR C BL BR
    {FL, FR, C, X, SL, SR},          // 6: FL FR C LFE BL BR
    {FL, FR, C, X, C, SL, SR},       // 7: FL FR C LFE BC SL SR
    {FL, FR, C, X, SL, SR, SL, SR},  // 8: FL FR C LFE BL BR SL SR
};

constexpr int32_t unity = 1 << mix_fraction_bits;  // 1.0 in Q15
constexpr int32_t minus_3db = 23170;               // 0.70711 in Q15

int32_t role_gain(Role role, unsigned side)
{
    switch (role) {
    case FL: return side == 0 ? unity : 0;
    case FR: return side == 1 ? unity : 0;
    case SL: return side == 0 ? minus_3db : 0;
    case SR: return side == 1 ? minus_3db : 0;
    case C: return minus_3db;
    case X: return 0;
    }
    return 0;
}

// The mix's arithmetic for samples of `bits`: samples wider than 24 bits
// lose their lowest bits first, and the gains keep as many fraction bits
// as let every product, and a row's sum, fit 32 bits (the box's CPU has no
// cheap 64-bit arithmetic): 15 for samples of up to 16 bits, fewer above.
struct MixScale {
    unsigned pre_shift;  // of the samples
    int fraction;        // of the gains
};

MixScale mix_scale(int bits)
{
    const int pre = bits > 24 ? bits - 24 : 0;
    const int used = bits - pre;
    return {static_cast<unsigned>(pre), used <= 16 ? mix_fraction_bits : 31 - used};
}

// One output row: the sum of `terms` inputs by their gains, into every
// `outs`-th value of `out`. `fixed_terms` is the count when the compiler
// may know it (0 when not), so the usual layouts' sums run in registers
// without a loop of their own.
template <unsigned fixed_terms, bool shifted>
void mix_row(const int32_t* const inputs[], const uint32_t gains[], unsigned terms, unsigned pre_shift,
             unsigned post_shift, size_t count, unsigned outs, int32_t* out)
{
    const unsigned n = fixed_terms != 0 ? fixed_terms : terms;
    // Local copies, which the stores to `out` cannot change: they stay in
    // registers across the loop instead of being loaded for every sample.
    const int32_t* in[max_stream_channels];
    uint32_t gain[max_stream_channels];
    for (unsigned t = 0; t < n; ++t) {
        in[t] = inputs[t];
        gain[t] = gains[t];
    }
    for (size_t i = 0; i < count; ++i) {
        uint32_t acc = 0;
        for (unsigned t = 0; t < n; ++t)
            acc += gain[t] * static_cast<uint32_t>(shifted ? in[t][i] >> pre_shift : in[t][i]);
        out[i * outs] = static_cast<int32_t>(acc) >> post_shift;
    }
}

// Each output row over its non-zero gains only. A row's gains sum to at
// most 1.0, so the sum fits for samples within their width; a damaged
// stream's wider values wrap (unsigned arithmetic) rather than overflow.
void mix_rows(const ChannelMix& mix, const int32_t* const planes[], size_t first, size_t count, int bits,
              unsigned post_shift, int32_t* out)
{
    const MixScale scale = mix_scale(bits);
    const unsigned outs = mix.out_channels;
    for (unsigned o = 0; o < outs; ++o) {
        const int32_t* inputs[max_stream_channels];
        uint32_t gains[max_stream_channels];
        unsigned terms = 0;
        for (unsigned c = 0; c < mix.in_channels; ++c) {
            if (mix.gain[o][c] != 0) {
                inputs[terms] = planes[c] + first;
                // Rounded down: the row still sums to at most 1.0.
                gains[terms++] = static_cast<uint32_t>(mix.gain[o][c] >> (mix_fraction_bits - scale.fraction));
            }
        }
        const unsigned shift = scale.pre_shift;
        auto row = shift != 0 ? mix_row<0, true>
            : terms == 2      ? mix_row<2, false>
            : terms == 3      ? mix_row<3, false>
            : terms == 4      ? mix_row<4, false>
                              : mix_row<0, false>;
        row(inputs, gains, terms, shift, post_shift, count, outs, out + o);
    }
}

}  // namespace

ChannelMix channel_mix_for(unsigned in_channels, unsigned out_channels)
{
    ChannelMix mix;
    mix.in_channels = in_channels;
    mix.out_channels = out_channels;
    mix.copy = in_channels == out_channels || (in_channels == 1 && out_channels == 2);
    if (mix.copy || in_channels > max_stream_channels)
        return mix;

    // Stereo rows first; each scaled by the larger row sum, so both sides
    // keep their balance and neither can exceed full scale.
    int32_t stereo[2][max_stream_channels] = {};
    int64_t largest = 0;
    for (unsigned side = 0; side < 2; ++side) {
        int64_t sum = 0;
        for (unsigned c = 0; c < in_channels; ++c)
            sum += stereo[side][c] = role_gain(layouts[in_channels][c], side);
        if (sum > largest)
            largest = sum;
    }
    for (unsigned side = 0; side < 2; ++side)
        for (unsigned c = 0; c < in_channels; ++c)
            stereo[side][c] = static_cast<int32_t>(stereo[side][c] * int64_t{unity} / largest);

    for (unsigned c = 0; c < in_channels; ++c) {
        if (out_channels == 2) {
            mix.gain[0][c] = stereo[0][c];
            mix.gain[1][c] = stereo[1][c];
        } else {
            mix.gain[0][c] = (stereo[0][c] + stereo[1][c]) / 2;
        }
    }
    return mix;
}

int mixed_width(const ChannelMix& mix, int bits)
{
    if (mix.copy || bits < 1 || bits > 32)
        return bits;
    const MixScale scale = mix_scale(bits);
    return bits - static_cast<int>(scale.pre_shift) + scale.fraction;
}

void mix_channels(const ChannelMix& mix, const int32_t* const planes[], size_t first, size_t count, int bits,
                  int32_t* out, int at_most)
{
    if (mix.copy) {
        const unsigned outs = mix.out_channels;
        for (unsigned o = 0; o < outs; ++o) {
            const int32_t* p = planes[o < mix.in_channels ? o : 0] + first;
            for (size_t i = 0; i < count; ++i)
                out[i * outs + o] = p[i];
        }
        return;
    }
    if (bits < 1 || bits > 32)
        bits = 16;
    const int width = mixed_width(mix, bits);
    mix_rows(mix, planes, first, count, bits, static_cast<unsigned>(width > at_most ? width - at_most : 0), out);
}
