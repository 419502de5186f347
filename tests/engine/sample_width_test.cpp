// The width step: narrower and 16-bit values exact, wider ones dithered
// once (deterministic, zero mean, never wrapping) and clipped.
#include <gtest/gtest.h>

#include <sample_width.h>

#include <cmath>
#include <vector>

#include "engine_test_support.h"

namespace {

std::vector<int16_t> reduce(const std::vector<int32_t>& in, int width, uint32_t seed = dither_seed_per_play)
{
    DitherSource dither;
    dither.seed(seed);
    std::vector<int16_t> out(in.size() + 2, 0x5A5A);
    reduce_to_16(in.data(), in.size(), width, dither, out.data());
    EXPECT_EQ(out[in.size()], 0x5A5A) << "written past the output";
    out.resize(in.size());
    return out;
}

}  // namespace

TEST(SampleWidth, NarrowAnd16BitValuesAreExact)
{
    const struct {
        int32_t sample;
        int width;
        int16_t want;
    } cases[] = {
        {127, 8, 0x7F00},   {-128, 8, -32768},    {2047, 12, 0x7FF0},  {-7, 4, -7 * 4096}, {-1, 1, -32768},
        {32767, 16, 32767}, {-32768, 16, -32768}, {0x1234, 0, 0x1234}, {-5, 40, -5},
    };
    for (const auto& c : cases)
        EXPECT_EQ(reduce({c.sample}, c.width)[0], c.want) << c.sample << " of " << c.width << " bits";
}

// Every wider value lands within one step of its exact rounding, full scale
// never wraps, and values past the width clip.
TEST(SampleWidth, WiderValuesStayWithinOneStepAndClip)
{
    for (int width : {17, 20, 24, 31, 32}) {
        const double step = std::ldexp(1.0, width - 16);
        const int64_t top = (int64_t{1} << (width - 1)) - 1;
        std::vector<int32_t> in;
        for (int i = 0; i < 4000; ++i)
            in.push_back(static_cast<int32_t>(std::lround(top * std::sin(i * 0.01))));
        in.push_back(static_cast<int32_t>(top));
        in.push_back(static_cast<int32_t>(-top - 1));
        const std::vector<int16_t> out = reduce(in, width);
        for (size_t i = 0; i < in.size(); ++i) {
            ASSERT_LE(std::fabs(out[i] - in[i] / step), 1.5) << width << " bits, value " << in[i];
            if (std::fabs(in[i] / step) > 2) {
                ASSERT_EQ(out[i] < 0, in[i] < 0) << "wrapped: " << width << " bits, value " << in[i];
            }
        }
    }
    EXPECT_EQ(reduce({INT32_MAX, INT32_MIN}, 20), (std::vector<int16_t>{32767, -32768}));
}

TEST(SampleWidth, DitherIsDeterministicAndSilenceStaysNearZero)
{
    std::vector<int32_t> ramp(5000);
    for (size_t i = 0; i < ramp.size(); ++i)
        ramp[i] = static_cast<int32_t>(i * 977) - 2000000;
    EXPECT_EQ(reduce(ramp, 24), reduce(ramp, 24));
    EXPECT_NE(reduce(ramp, 24), reduce(ramp, 24, 12345));

    const std::vector<int16_t> silence = reduce(std::vector<int32_t>(100000, 0), 24);
    double sum = 0;
    int zeros = 0;
    for (int16_t v : silence) {
        ASSERT_TRUE(v >= -1 && v <= 1) << v;
        sum += v;
        zeros += v == 0;
    }
    EXPECT_NEAR(sum / silence.size(), 0.0, 0.01);
    EXPECT_GT(zeros, 50000) << "the dither is larger than one step";
    EXPECT_LT(zeros, 100000) << "no dither";
}
