// The conversion of decoded frames to the device's big-endian 16-bit bytes.
// The byte layout of a whole frame is checked through the sample writer.
#include <gtest/gtest.h>

#include <sample_convert.h>

#include <random>

#include "engine_test_support.h"

namespace {

using Planes = std::vector<std::vector<int32_t>>;

std::vector<uint8_t> convert(const Planes& planes, int bits, size_t first, size_t count)
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

std::vector<uint8_t> expected(const Planes& planes, int bits, size_t first, size_t count)
{
    std::vector<uint8_t> out;
    for (size_t i = first; i < first + count; ++i)
        for (const auto& plane : planes)
            enginetest::push_be16(out, enginetest::expected_16(plane[i], bits));
    return out;
}

}  // namespace

TEST(SampleConvert, WidthsAtTheirLimits)
{
    const struct {
        int32_t sample;
        int bits;
        int16_t want;
    } cases[] = {
        // Narrower: shifted up, so full scale stays full scale.
        {127, 8, 0x7F00}, {-128, 8, -32768}, {2047, 12, 0x7FF0}, {-7, 4, -7 * 4096},
        {32767, 16, 32767}, {-32768, 16, -32768},
        // Wider: rounded to nearest (half up), clipped where rounding overflows.
        {0x7FFFFF, 24, 32767}, {-0x800000, 24, -32768}, {0x7F, 24, 0}, {0x80, 24, 1}, {-0x80, 24, 0},
        {-0x81, 24, -1}, {0x7FFFF, 20, 32767}, {8, 20, 1}, {INT32_MAX, 32, 32767}, {INT32_MIN, 32, -32768},
        {0x8000, 32, 1},
    };
    for (const auto& c : cases) {
        const std::vector<uint8_t> b = convert({{c.sample}}, c.bits, 0, 1);
        EXPECT_EQ(static_cast<int16_t>(static_cast<uint16_t>(b[0] << 8 | b[1])), c.want)
            << c.sample << " of " << c.bits << " bits";
    }
}

TEST(SampleConvert, OddSizesEveryChannelCountAndWidth)
{
    std::mt19937 rng(7);
    for (int bits : {4, 8, 12, 16, 20, 24, 32}) {
        std::uniform_int_distribution<int64_t> any(-(int64_t{1} << (bits - 1)), (int64_t{1} << (bits - 1)) - 1);
        for (unsigned channels = 1; channels <= 8; ++channels) {
            Planes planes(channels, std::vector<int32_t>(509));
            for (auto& plane : planes)
                for (auto& s : plane)
                    s = static_cast<int32_t>(any(rng));
            SCOPED_TRACE("bits " + std::to_string(bits) + " channels " + std::to_string(channels));
            EXPECT_EQ(convert(planes, bits, 0, 509), expected(planes, bits, 0, 509));
            // A part of the frame, starting inside it (loop heads and tails).
            EXPECT_EQ(convert(planes, bits, 3, 101), expected(planes, bits, 3, 101));
            EXPECT_TRUE(convert(planes, bits, 5, 0).empty());
        }
    }
}
