// The channel step: copies exact, downmixes at the levels the layouts call
// for, nothing from the LFE, no clipping at full scale.
#include <gtest/gtest.h>

#include <channel_mix.h>

#include <cmath>
#include <vector>

namespace {

using Planes = std::vector<std::vector<int32_t>>;

std::vector<int32_t> mix(const Planes& planes, unsigned outs, int bits, size_t first, size_t count)
{
    std::vector<const int32_t*> p;
    for (const auto& plane : planes)
        p.push_back(plane.data());
    const ChannelMix m = channel_mix_for(static_cast<unsigned>(planes.size()), outs);
    std::vector<int32_t> out(count * outs + 4, 0x5A5A5A5A);
    mix_channels(m, p.data(), first, count, bits, out.data());
    for (size_t i = count * outs; i < out.size(); ++i)
        EXPECT_EQ(out[i], 0x5A5A5A5A) << "written past the output";
    out.resize(count * outs);
    return out;
}

// Level in dB of `value` against the input's full scale, in mixed units.
double level_db(int32_t value, int32_t input, const ChannelMix& m, int bits)
{
    const double scale = std::ldexp(1.0, mixed_width(m, bits) - bits);
    return 20 * std::log10(std::fabs(value) / (std::fabs(static_cast<double>(input)) * scale));
}

}  // namespace

TEST(ChannelMix, CopiesAreExact)
{
    const Planes mono = {{1, -32768, 32767, 5, -7}};
    EXPECT_EQ(mix(mono, 2, 16, 1, 3), (std::vector<int32_t>{-32768, -32768, 32767, 32767, 5, 5}));
    EXPECT_EQ(mix(mono, 1, 16, 0, 5), mono[0]);
    const Planes stereo = {{1, 2, 3}, {-1, -2, -3}};
    EXPECT_EQ(mix(stereo, 2, 24, 0, 3), (std::vector<int32_t>{1, -1, 2, -2, 3, -3}));
    EXPECT_EQ(mixed_width(channel_mix_for(2, 2), 24), 24);
}

// A tone on one input channel at a time: which output side it reaches and
// how loud, from the layouts written out here independently: front 0 dB to
// its side, centre -3 dB to both, surround -3 dB to its side, LFE nowhere;
// the whole table scaled by the louder side's sum of gains.
TEST(ChannelMix, EachInputChannelLandsOnItsSideAtItsLevel)
{
    const double c = std::sqrt(0.5);
    const struct {
        unsigned channels;
        std::vector<std::pair<double, double>> gains;  // left, right per input channel
    } layouts[] = {
        {3, {{1, 0}, {0, 1}, {c, c}}},
        {4, {{1, 0}, {0, 1}, {c, 0}, {0, c}}},
        {5, {{1, 0}, {0, 1}, {c, c}, {c, 0}, {0, c}}},
        {6, {{1, 0}, {0, 1}, {c, c}, {0, 0}, {c, 0}, {0, c}}},
        {7, {{1, 0}, {0, 1}, {c, c}, {0, 0}, {c, c}, {c, 0}, {0, c}}},
        {8, {{1, 0}, {0, 1}, {c, c}, {0, 0}, {c, 0}, {0, c}, {c, 0}, {0, c}}},
    };
    for (const auto& layout : layouts) {
        double sum = 0;
        for (const auto& g : layout.gains)
            sum += g.first;
        for (int bits : {16, 24}) {
            const ChannelMix m = channel_mix_for(layout.channels, 2);
            for (unsigned in = 0; in < layout.channels; ++in) {
                SCOPED_TRACE(std::to_string(layout.channels) + " channels, input " + std::to_string(in) + ", " +
                             std::to_string(bits) + " bits");
                Planes planes(layout.channels, std::vector<int32_t>(1, 0));
                const int32_t tone = (1 << (bits - 1)) - 1;
                planes[in][0] = tone;
                const std::vector<int32_t> out = mix(planes, 2, bits, 0, 1);
                const double want[2] = {layout.gains[in].first, layout.gains[in].second};
                for (int side = 0; side < 2; ++side) {
                    if (want[side] == 0) {
                        EXPECT_EQ(out[side], 0) << "side " << side;
                        continue;
                    }
                    EXPECT_NEAR(level_db(out[side], tone, m, bits), 20 * std::log10(want[side] / sum), 0.5)
                        << "side " << side;
                }
            }
        }
    }
}

TEST(ChannelMix, FullScaleOnEveryChannelCannotClip)
{
    for (unsigned channels = 2; channels <= 8; ++channels) {
        for (unsigned outs : {1u, 2u}) {
            for (int bits : {8, 16, 17, 24, 32}) {
                const ChannelMix m = channel_mix_for(channels, outs);
                const int64_t top = (int64_t{1} << (mixed_width(m, bits) - 1));
                for (int64_t v : {-(int64_t{1} << (bits - 1)), (int64_t{1} << (bits - 1)) - 1}) {
                    const Planes planes(channels, std::vector<int32_t>(3, static_cast<int32_t>(v)));
                    for (int32_t o : mix(planes, outs, bits, 0, 3)) {
                        EXPECT_LT(o, top) << channels << " -> " << outs << " at " << bits << " bits";
                        EXPECT_GE(o, -top) << channels << " -> " << outs << " at " << bits << " bits";
                        EXPECT_EQ(o < 0, v < 0) << "wrapped: " << channels << " -> " << outs;
                    }
                }
            }
        }
    }
}
