// The chain as a whole: every channel count and width to every device
// format, in frames of a size that leaves loop tails.
#include <gtest/gtest.h>

#include <output_chain.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine_test_support.h"

// Mono and stereo get each sample, stereo on a one-channel device their
// mean; at 16 bits and less exactly, wider ones within the dither's one
// step. Full scale both ways is in every frame.
TEST(OutputChain, EveryChannelCountAndWidthReachesEachDeviceFormat)
{
    for (const OutputFormat& format : {OutputFormat{true, true, 2}, OutputFormat{true, false, 2},
                                       OutputFormat{true, true, 1}, OutputFormat{true, false, 1}}) {
        for (unsigned channels = 1; channels <= 8; ++channels) {
            for (int bits : {8, 12, 16, 20, 24, 32}) {
                SCOPED_TRACE(std::to_string(channels) + " channels of " + std::to_string(bits) + " bits to " +
                             (format.big_endian ? "big" : "little") + "-endian " + std::to_string(format.channels));
                const int64_t top = (int64_t{1} << (bits - 1)) - 1;
                std::vector<std::vector<int32_t>> planes(channels, std::vector<int32_t>(509));
                std::vector<const int32_t*> pointers;
                for (unsigned c = 0; c < channels; ++c) {
                    for (size_t i = 0; i < 509; ++i)
                        planes[c][i] = static_cast<int32_t>(((i * 2654435761u + c * 40503u) >> 7) % (2 * top + 2) -
                                                            static_cast<uint64_t>(top) - 1);
                    planes[c][0] = static_cast<int32_t>(top);
                    planes[c][1] = static_cast<int32_t>(-top - 1);
                    pointers.push_back(planes[c].data());
                }
                OutputChain chain;
                chain.begin(format);
                ASSERT_EQ(chain.convert(pointers.data(), channels, 0, 509, bits, 44100), 509u);
                const std::string bytes(reinterpret_cast<const char*>(chain.data()), chain.size());
                ASSERT_EQ(bytes.size(), 509u * 2 * format.channels);
                int dithered = 0;
                for (size_t i = 0; i < 509 * format.channels && channels <= 2; ++i) {
                    const size_t frame = i / format.channels;
                    const int got = enginetest::read_16(&bytes[2 * i], format.big_endian);
                    double exact = planes[channels == 2 ? i % format.channels : 0][frame];
                    if (channels > format.channels)
                        exact = (exact + planes[1][frame]) / 2;
                    exact = std::clamp(exact / std::ldexp(1.0, bits - 16), -32768.0, 32767.0);
                    ASSERT_LE(std::fabs(got - exact), bits > 16 || channels > format.channels ? 1.5 : 0)
                        << "sample " << i;
                    dithered += got != std::floor(exact + 0.5);
                }
                EXPECT_TRUE(bits <= 16 || channels > 2 || dithered > 0) << "no dither";
            }
        }
    }
}
