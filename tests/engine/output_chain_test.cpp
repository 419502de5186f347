// The chain as a whole: what each device format gets, the dither seeded per
// play, and frames that do not fit the buffer at once.
#include <gtest/gtest.h>

#include <channel_mix.h>
#include <output_chain.h>
#include <pcm16_bytes.h>
#include <pcm16_interleave.h>
#include <sample_width.h>

#include <vector>

namespace {

struct Stream {
    std::vector<std::vector<int32_t>> planes;
    std::vector<const int32_t*> pointers;

    Stream(unsigned channels, size_t frames) : planes(channels, std::vector<int32_t>(frames))
    {
        for (auto& p : planes)
            pointers.push_back(p.data());
    }
};

OutputFormat device(bool big_endian, unsigned channels, uint32_t rate, bool playable = true)
{
    OutputFormat f;
    f.big_endian = big_endian;
    f.channels = channels;
    f.rate = rate;
    f.playable = playable;
    return f;
}

// Every frame of the stream through the chain, as the writer does it.
std::vector<uint8_t> play(OutputChain& chain, const Stream& s, int bits, uint32_t rate, int* calls = nullptr)
{
    std::vector<uint8_t> out;
    const size_t frames = s.planes[0].size();
    for (size_t first = 0; first < frames;) {
        const size_t n =
            chain.convert(s.pointers.data(), static_cast<unsigned>(s.planes.size()), first, frames - first, bits, rate);
        out.insert(out.end(), chain.data(), chain.data() + chain.size());
        if (calls != nullptr)
            ++*calls;
        if (n == 0)
            break;
        first += n;
    }
    chain.drain();
    out.insert(out.end(), chain.data(), chain.data() + chain.size());
    return out;
}

}  // namespace

TEST(Pcm16Bytes, BothByteOrdersInPlace)
{
    int16_t samples[3] = {0x0102, -2, 0x7F80};
    uint8_t* bytes = reinterpret_cast<uint8_t*>(samples);
    store_pcm16(samples, 3, true, bytes);
    EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + 6), (std::vector<uint8_t>{1, 2, 0xFF, 0xFE, 0x7F, 0x80}));
    int16_t again[3] = {0x0102, -2, 0x7F80};
    uint8_t little[6];
    store_pcm16(again, 3, false, little);
    EXPECT_EQ(std::vector<uint8_t>(little, little + 6), (std::vector<uint8_t>{2, 1, 0xFE, 0xFF, 0x80, 0x7F}));
}

// The one-pass interleave gives the bytes of the three steps it stands for.
TEST(Pcm16Interleave, SameBytesAsTheStepsOneByOne)
{
    for (int bits : {4, 8, 12, 16}) {
        for (unsigned ins : {1u, 2u}) {
            for (unsigned outs : {ins, 2u}) {
                for (bool big_endian : {true, false}) {
                    Stream s(ins, 509);
                    for (unsigned c = 0; c < ins; ++c)
                        for (size_t i = 0; i < 509; ++i)
                            s.planes[c][i] =
                                static_cast<int32_t>((i * 2654435761u + c * 40503u) >> (32 - bits)) - (1 << (bits - 1));
                    const ChannelMix mix = channel_mix_for(ins, outs);
                    std::vector<int32_t> mixed(101 * outs);
                    mix_channels(mix, s.pointers.data(), 3, 101, bits, mixed.data());
                    std::vector<int16_t> narrowed(mixed.size());
                    DitherSource dither;
                    reduce_to_16(mixed.data(), mixed.size(), mixed_width(mix, bits), dither, narrowed.data());
                    std::vector<uint8_t> want(2 * narrowed.size()), got(2 * narrowed.size() + 2, 0xA5);
                    store_pcm16(narrowed.data(), narrowed.size(), big_endian, want.data());
                    interleave_pcm16(s.pointers.data(), ins, outs, 3, 101, bits, big_endian, got.data());
                    EXPECT_EQ(got.back(), 0xA5) << "written past the output";
                    got.resize(want.size());
                    EXPECT_EQ(got, want) << bits << " bits, " << ins << " -> " << outs;
                }
            }
        }
    }
}

TEST(OutputChain, EachDeviceFormatGetsItsBytes)
{
    Stream s(2, 3);
    s.planes[0] = {258, -32768, 7};
    s.planes[1] = {-2, 32767, -7};
    OutputChain chain;
    const struct {
        const char* what;
        OutputFormat format;
        std::vector<uint8_t> want;
    } cases[] = {
        {"big-endian stereo: as it is",
         device(true, 2, 44100),
         {1, 2, 0xFF, 0xFE, 0x80, 0, 0x7F, 0xFF, 0, 7, 0xFF, 0xF9}},
        {"little-endian stereo", device(false, 2, 44100), {2, 1, 0xFE, 0xFF, 0, 0x80, 0xFF, 0x7F, 7, 0, 0xF9, 0xFF}},
        {"mono: both sides, halved, rounded with dither", device(true, 1, 44100), {}},
        {"a format we cannot write: nothing", device(true, 2, 44100, false), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        chain.begin(c.format);
        const std::vector<uint8_t> bytes = play(chain, s, 16, 44100);
        if (c.format.channels == 1) {
            ASSERT_EQ(bytes.size(), 6u);
            const int16_t first = static_cast<int16_t>(bytes[0] << 8 | bytes[1]);
            EXPECT_NEAR(first, 128, 1);
            EXPECT_NEAR(static_cast<int16_t>(bytes[2] << 8 | bytes[3]), 0, 1);
            EXPECT_NEAR(static_cast<int16_t>(bytes[4] << 8 | bytes[5]), 0, 1);
        } else {
            EXPECT_EQ(bytes, c.want);
        }
        chain.end();
    }
}

TEST(OutputChain, TheSameStreamGivesTheSameBytesInEveryPlay)
{
    Stream s(6, 3000);
    for (unsigned c = 0; c < 6; ++c)
        for (size_t i = 0; i < 3000; ++i)
            s.planes[c][i] = static_cast<int32_t>((i * 7919 + c * 104729) % 16777216) - 8388608;
    OutputChain chain;
    chain.begin(device(true, 2, 48000));
    const std::vector<uint8_t> first = play(chain, s, 24, 96000);
    chain.end();
    chain.begin(device(true, 2, 48000));
    EXPECT_EQ(play(chain, s, 24, 96000), first);
    EXPECT_NEAR(first.size() / 4.0, 1500, 2);
}

// A stream far slower than the device: one frame's samples come out in
// several pieces, none lost; slower still, nothing is played.
TEST(OutputChain, FramesTooLargeForTheBufferComeInPieces)
{
    Stream s(1, 4096);
    for (size_t i = 0; i < 4096; ++i)
        s.planes[0][i] = (i & 1) ? 1000 : -1000;
    OutputChain chain;
    chain.begin(device(true, 2, 44100));
    int calls = 0;
    const std::vector<uint8_t> bytes = play(chain, s, 16, 100, &calls);
    EXPECT_GT(calls, 1);
    EXPECT_NEAR(bytes.size() / 4.0, 4096 * 441.0, 2);
    EXPECT_TRUE(play(chain, s, 16, 40).empty());
    chain.end();
}
