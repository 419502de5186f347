// The rate step keeps its filter across frames: a stream cut into frames
// converts exactly as one piece does, up or down. Durations, frequencies
// and steps at frame edges are checked through the whole player
// (tone_play_test.cpp).
#include <gtest/gtest.h>

#include <rate_converter.h>

#include <cmath>
#include <vector>

namespace {

// A stereo sine in `piece`-frame pieces through a fresh converter, drained.
std::vector<int16_t> convert(uint32_t from, uint32_t to, size_t piece)
{
    std::vector<int16_t> in;
    for (size_t i = 0; i < 20000; ++i) {
        const auto v = static_cast<int16_t>(std::lround(16000 * std::sin(2 * M_PI * 440 * i / from)));
        in.insert(in.end(), {v, static_cast<int16_t>(-v)});
    }
    RateConverter rc;
    EXPECT_TRUE(rc.start(2, from, to));
    std::vector<int16_t> out, buffer(2 * rc.max_output(piece));
    for (size_t at = 0; at < in.size() / 2; at += piece) {
        const size_t n = std::min(piece, in.size() / 2 - at);
        size_t consumed = 0;
        const size_t made = rc.process(in.data() + 2 * at, n, &consumed, buffer.data(), buffer.size() / 2);
        EXPECT_EQ(consumed, n) << "room for max_output() was not enough";
        out.insert(out.end(), buffer.begin(), buffer.begin() + static_cast<long>(2 * made));
    }
    buffer.resize(2 * rc.max_output(0));
    const size_t made = rc.drain(buffer.data(), buffer.size() / 2);
    out.insert(out.end(), buffer.begin(), buffer.begin() + static_cast<long>(2 * made));
    return out;
}

}  // namespace

TEST(RateConverter, FramesOfAnySizeGiveTheSameSamplesAsOnePiece)
{
    for (auto rates : {std::pair<uint32_t, uint32_t>{48000, 44100}, {22050, 44100}}) {
        const std::vector<int16_t> whole = convert(rates.first, rates.second, 20000);
        EXPECT_NEAR(whole.size() / 2.0, 20000.0 * rates.second / rates.first, 2) << "the drain lets out the rest";
        EXPECT_EQ(convert(rates.first, rates.second, 509), whole) << rates.first << " Hz";
    }
}
