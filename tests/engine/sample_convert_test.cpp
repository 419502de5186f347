// The conversion of decoded frames to the device's big-endian 16-bit bytes.
#include <gtest/gtest.h>

#include <sample_convert.h>

#include <random>

#include "engine_test_support.h"

using enginetest::expected_16;
using enginetest::push_be16;

namespace {

std::vector<uint8_t> convert(const std::vector<std::vector<int32_t>>& planes, int bits,
                             size_t first, size_t count)
{
    std::vector<const int32_t*> p;
    for (const auto& plane : planes)
        p.push_back(plane.data());
    // Guard bytes after the output catch a write past its end.
    std::vector<uint8_t> out(count * planes.size() * 2 + 16, 0xA5);
    convert_to_s16be(p.data(), static_cast<unsigned>(planes.size()), first, count, bits, out.data());
    for (size_t i = count * planes.size() * 2; i < out.size(); ++i)
        EXPECT_EQ(out[i], 0xA5) << "written past the output at byte " << i;
    out.resize(count * planes.size() * 2);
    return out;
}

std::vector<uint8_t> expected(const std::vector<std::vector<int32_t>>& planes, int bits,
                              size_t first, size_t count)
{
    std::vector<uint8_t> out;
    for (size_t i = first; i < first + count; ++i)
        for (const auto& plane : planes)
            push_be16(out, expected_16(plane[i], bits));
    return out;
}

int16_t one(int32_t sample, int bits)
{
    std::vector<uint8_t> b = convert({{sample}}, bits, 0, 1);
    return static_cast<int16_t>(static_cast<uint16_t>(b[0] << 8 | b[1]));
}

}  // namespace

TEST(SampleConvert, StereoFrameGivesBigEndianBytesInChannelOrder)
{
    EXPECT_EQ(convert({{258, 1}, {-2, 0}}, 16, 0, 2),
              (std::vector<uint8_t>{0x01, 0x02, 0xFF, 0xFE, 0x00, 0x01, 0x00, 0x00}));
}

TEST(SampleConvert, WidthsAtTheirLimits)
{
    // Narrower: shifted up, so full scale stays full scale.
    EXPECT_EQ(one(127, 8), 0x7F00);
    EXPECT_EQ(one(-128, 8), -32768);
    EXPECT_EQ(one(2047, 12), 0x7FF0);
    EXPECT_EQ(one(-7, 4), -7 * 4096);
    EXPECT_EQ(one(32767, 16), 32767);
    EXPECT_EQ(one(-32768, 16), -32768);
    // Wider: rounded to nearest (half up), clipped where rounding overflows.
    EXPECT_EQ(one(0x7FFFFF, 24), 32767);
    EXPECT_EQ(one(-0x800000, 24), -32768);
    EXPECT_EQ(one(0x7F, 24), 0);
    EXPECT_EQ(one(0x80, 24), 1);
    EXPECT_EQ(one(-0x80, 24), 0);
    EXPECT_EQ(one(-0x81, 24), -1);
    EXPECT_EQ(one(0x7FFFF, 20), 32767);
    EXPECT_EQ(one(8, 20), 1);
    EXPECT_EQ(one(INT32_MAX, 32), 32767);
    EXPECT_EQ(one(INT32_MIN, 32), -32768);
    EXPECT_EQ(one(0x8000, 32), 1);
}

TEST(SampleConvert, OddSizesEveryChannelCountAndWidth)
{
    std::mt19937 rng(7);
    for (int bits : {4, 8, 12, 16, 20, 24, 32}) {
        std::uniform_int_distribution<int64_t> any(-(int64_t{1} << (bits - 1)),
                                                   (int64_t{1} << (bits - 1)) - 1);
        for (unsigned channels = 1; channels <= 8; ++channels) {
            const size_t samples = 509;
            std::vector<std::vector<int32_t>> planes(channels, std::vector<int32_t>(samples));
            for (auto& plane : planes)
                for (auto& s : plane)
                    s = static_cast<int32_t>(any(rng));
            SCOPED_TRACE("bits " + std::to_string(bits) + " channels " + std::to_string(channels));
            EXPECT_EQ(convert(planes, bits, 0, samples), expected(planes, bits, 0, samples));
            // A part of the frame, starting inside it (loop heads and tails).
            EXPECT_EQ(convert(planes, bits, 3, 101), expected(planes, bits, 3, 101));
            EXPECT_TRUE(convert(planes, bits, 5, 0).empty());
        }
    }
}
