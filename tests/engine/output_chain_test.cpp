// The chain as a whole: every channel count and width to every device
// format, at block sizes that leave loop tails, and frames that do not fit
// the buffer at once.
#include <gtest/gtest.h>

#include <output_chain.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "engine_test_support.h"

using enginetest::read_16;

namespace {

struct Stream {
    std::vector<std::vector<int32_t>> planes;
    std::vector<const int32_t*> pointers;

    // Values spread over the whole width, full scale both ways included.
    Stream(unsigned channels, size_t frames, int bits) : planes(channels, std::vector<int32_t>(frames))
    {
        const int64_t top = (int64_t{1} << (bits - 1)) - 1;
        for (unsigned c = 0; c < channels; ++c) {
            for (size_t i = 0; i < frames; ++i)
                planes[c][i] = static_cast<int32_t>(
                    static_cast<int64_t>((i * 2654435761u + c * 40503u) >> 7) % (2 * top + 2) - top - 1);
            planes[c][0] = static_cast<int32_t>(top);
            planes[c][1] = static_cast<int32_t>(-top - 1);
            pointers.push_back(planes[c].data());
        }
    }
};

OutputFormat device(bool big_endian, unsigned channels)
{
    OutputFormat f;
    f.big_endian = big_endian;
    f.channels = channels;
    return f;
}

// Every frame of the stream through the chain, as the writer does it.
std::string play(OutputChain& chain, const Stream& s, int bits, uint32_t rate, int* pieces = nullptr)
{
    std::string out;
    const size_t frames = s.planes[0].size();
    for (size_t first = 0, n = 1; first < frames && n > 0; first += n) {
        n = chain.convert(s.pointers.data(), static_cast<unsigned>(s.planes.size()), first, frames - first, bits, rate);
        out.append(reinterpret_cast<const char*>(chain.data()), chain.size());
        if (pieces != nullptr)
            ++*pieces;
    }
    chain.drain();
    return out.append(reinterpret_cast<const char*>(chain.data()), chain.size());
}

}  // namespace

// Mono and stereo get each sample, stereo on a one-channel device their
// mean; at 16 bits and less exactly, wider within the dither's one step.
TEST(OutputChain, EveryChannelCountAndWidthReachesEachDeviceFormat)
{
    for (const OutputFormat& format : {device(true, 2), device(false, 2), device(true, 1), device(false, 1)}) {
        for (unsigned channels = 1; channels <= 8; ++channels) {
            for (int bits : {8, 12, 16, 20, 24, 32}) {
                SCOPED_TRACE(std::to_string(channels) + " channels of " + std::to_string(bits) + " bits to " +
                             (format.big_endian ? "big" : "little") + "-endian " + std::to_string(format.channels));
                const Stream s(channels, 509, bits);
                OutputChain chain;
                chain.begin(format);
                const std::string bytes = play(chain, s, bits, 44100);
                ASSERT_EQ(bytes.size(), 509u * 2 * format.channels);
                if (channels > 2)
                    continue;
                int dithered = 0;
                for (size_t i = 0; i < 509 * format.channels; ++i) {
                    const size_t frame = i / format.channels;
                    const int got = read_16(&bytes[2 * i], format.big_endian);
                    double exact = s.planes[channels == 2 ? i % format.channels : 0][frame];
                    if (channels > format.channels)
                        exact = (exact + s.planes[1][frame]) / 2;
                    exact = std::clamp(exact / std::ldexp(1.0, bits - 16), -32768.0, 32767.0);
                    ASSERT_LE(std::fabs(got - exact), bits > 16 || channels > format.channels ? 1.5 : 0)
                        << "sample " << i;
                    dithered += got != std::floor(exact + 0.5);
                }
                EXPECT_TRUE(bits <= 16 || dithered > 0) << "no dither";
            }
        }
    }
}

// A stream far slower than the device: one frame's samples come out in
// several pieces, none lost; slower still, nothing is played.
TEST(OutputChain, FramesTooLargeForTheBufferComeInPiecesAndNoneIsLost)
{
    Stream s(1, 4096, 16);
    OutputChain chain;
    chain.begin(device(true, 2));
    int pieces = 0;
    EXPECT_NEAR(play(chain, s, 16, 100, &pieces).size() / 4.0, 4096 * 441.0, 2);
    EXPECT_GT(pieces, 1);
    EXPECT_TRUE(play(chain, s, 16, 40).empty());
}
