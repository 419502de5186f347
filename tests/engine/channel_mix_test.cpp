// The channel step: more channels than the device has are mixed to the
// level each channel's role calls for, and full scale never clips.
#include <gtest/gtest.h>

#include <channel_mix.h>

#include <cmath>
#include <vector>

namespace {

// One sample per input channel, mixed to `outs` channels.
std::vector<int32_t> mix(const std::vector<int32_t>& inputs, unsigned outs, int bits)
{
    std::vector<const int32_t*> planes;
    for (const int32_t& v : inputs)
        planes.push_back(&v);
    std::vector<int32_t> out(outs);  // exactly: AddressSanitizer sees a write past it
    mix_channels(channel_mix_for(static_cast<unsigned>(inputs.size()), outs), planes.data(), 0, 1, bits, out.data());
    return out;
}

}  // namespace

// A tone on one input channel at a time reaches the sides its role gives,
// at its level, from the layouts written out here: front 0 dB to its side,
// centre and surround -3 dB, LFE nowhere; the whole table scaled by the
// louder side's sum of gains.
TEST(ChannelMix, EachInputChannelLandsOnItsSideAtItsLevelWithoutClipping)
{
    const double c = std::sqrt(0.5);
    const std::vector<std::vector<std::pair<double, double>>> layouts = {
        {{1, 0}, {0, 1}, {c, c}},
        {{1, 0}, {0, 1}, {c, 0}, {0, c}},
        {{1, 0}, {0, 1}, {c, c}, {c, 0}, {0, c}},
        {{1, 0}, {0, 1}, {c, c}, {0, 0}, {c, 0}, {0, c}},
        {{1, 0}, {0, 1}, {c, c}, {0, 0}, {c, c}, {c, 0}, {0, c}},
        {{1, 0}, {0, 1}, {c, c}, {0, 0}, {c, 0}, {0, c}, {c, 0}, {0, c}},
    };
    for (const auto& gains : layouts) {
        const unsigned channels = static_cast<unsigned>(gains.size());
        double sum = 0;
        for (const auto& g : gains)
            sum += g.first;
        for (int bits : {8, 16, 24, 32}) {
            SCOPED_TRACE(std::to_string(channels) + " channels, " + std::to_string(bits) + " bits");
            const double scale = std::ldexp(1.0, mixed_width(channel_mix_for(channels, 2), bits) - bits);
            const int32_t loudest = static_cast<int32_t>((int64_t{1} << (bits - 1)) - 1);
            for (unsigned in = 0; in < channels; ++in) {
                std::vector<int32_t> tone(channels, 0);
                tone[in] = loudest;
                const std::vector<int32_t> out = mix(tone, 2, bits);
                const double want[2] = {gains[in].first / sum, gains[in].second / sum};
                for (int side = 0; side < 2; ++side)
                    EXPECT_NEAR(out[side], want[side] * loudest * scale, 0.06 * want[side] * loudest * scale + 0.5)
                        << "input " << in << ", side " << side;
            }
            for (unsigned outs : {1u, 2u}) {
                const int64_t top = int64_t{1} << (mixed_width(channel_mix_for(channels, outs), bits) - 1);
                for (int32_t v : {loudest, -loudest - 1})
                    for (int32_t o : mix(std::vector<int32_t>(channels, v), outs, bits))
                        EXPECT_TRUE(o < top && o >= -top && (o < 0) == (v < 0)) << o << " clips or wraps, to " << outs;
            }
        }
    }
}
