// The rate step: a stream cut into frames converts exactly as one piece
// does, and a new start forgets the old stream. Durations and frequencies
// at every rate are checked through the whole player (tone_play_test.cpp).
#include <gtest/gtest.h>

#include <rate_converter.h>

#include <cmath>
#include <vector>

namespace {

std::vector<int16_t> stereo_sine(double hz, uint32_t rate, size_t frames)
{
    std::vector<int16_t> s;
    for (size_t i = 0; i < frames; ++i) {
        const double v = 16000 * std::sin(2 * M_PI * hz * static_cast<double>(i) / rate);
        s.push_back(static_cast<int16_t>(std::lround(v)));
        s.push_back(static_cast<int16_t>(std::lround(-v)));
    }
    return s;
}

// Converts `in` in pieces of `piece` frames, then drains.
std::vector<int16_t> convert(RateConverter& rc, const std::vector<int16_t>& in, size_t piece)
{
    std::vector<int16_t> out;
    std::vector<int16_t> buffer(2 * rc.max_output(piece));
    const size_t frames = in.size() / 2;
    for (size_t at = 0; at < frames;) {
        const size_t n = std::min(piece, frames - at);
        size_t consumed = 0;
        const size_t made = rc.process(in.data() + 2 * at, n, &consumed, buffer.data(), buffer.size() / 2);
        EXPECT_EQ(consumed, n) << "room for max_output() was not enough";
        out.insert(out.end(), buffer.begin(), buffer.begin() + static_cast<long>(2 * made));
        at += n;
    }
    std::vector<int16_t> tail(2 * rc.max_output(0));
    const size_t made = rc.drain(tail.data(), tail.size() / 2);
    out.insert(out.end(), tail.begin(), tail.begin() + static_cast<long>(2 * made));
    return out;
}

}  // namespace

TEST(RateConverter, FramesOfAnySizeGiveTheSameSamplesAsOnePiece)
{
    const std::vector<int16_t> in = stereo_sine(440, 48000, 20000);
    RateConverter whole, pieces;
    ASSERT_TRUE(whole.start(2, 48000, 44100));
    ASSERT_TRUE(pieces.start(2, 48000, 44100));
    EXPECT_EQ(convert(whole, in, 20000), convert(pieces, in, 509));
}

// Restarting forgets the earlier stream: the same input gives the same output.
TEST(RateConverter, StartAgainBeginsAfresh)
{
    const std::vector<int16_t> in = stereo_sine(1000, 96000, 9000);
    RateConverter rc;
    ASSERT_TRUE(rc.start(2, 96000, 44100));
    const std::vector<int16_t> first = convert(rc, in, 4608);
    ASSERT_TRUE(rc.start(2, 96000, 44100));
    EXPECT_EQ(convert(rc, in, 4608), first);
    rc.stop();
    EXPECT_FALSE(rc.active());
    size_t consumed = 1;
    int16_t out[4];
    EXPECT_EQ(rc.process(in.data(), 2, &consumed, out, 2), 0u);
    EXPECT_EQ(consumed, 0u);
}
