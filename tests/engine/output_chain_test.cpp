// The chain from decoded frames to the device's bytes: every channel count
// and width to every device format, in frames of a size that leaves loop
// tails; and its channel step, which mixes more channels than the device
// has at the level each channel's role calls for, never clipping.
#include <gtest/gtest.h>

#include <fixed_point.h>
#include <integer_resampler.h>
#include <output_chain.h>
#include <pcm16_bytes.h>
#include <sample_width.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "engine_test_support.h"

// One sample per input channel, mixed to `outs` channels.
static std::vector<int32_t> mix(const std::vector<int32_t>& inputs, unsigned outs, int bits)
{
    std::vector<const int32_t*> planes;
    for (const int32_t& v : inputs)
        planes.push_back(&v);
    std::vector<int32_t> out(outs);  // exactly: AddressSanitizer sees a write past it
    mix_channels(channel_mix_for(static_cast<unsigned>(inputs.size()), outs), planes.data(), 0, 1, bits, out.data());
    return out;
}

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
            // Narrowed to the rate step's width in the same pass, over a run
            // that leaves loop tails: what the widening after it gives.
            std::vector<std::vector<int32_t>> planes(channels, std::vector<int32_t>(7));
            std::vector<const int32_t*> pointers;
            for (unsigned in = 0; in < channels; ++in) {
                for (size_t i = 0; i < 7; ++i)
                    planes[in][i] = static_cast<int32_t>((i + 1) * (in + 3) * 2654435761u) >> (32 - bits);
                pointers.push_back(planes[in].data());
            }
            for (unsigned outs : {1u, 2u}) {
                const ChannelMix m = channel_mix_for(channels, outs);
                if (mixed_width(m, bits) <= rate_sample_width)
                    continue;
                std::vector<int32_t> separate(7 * outs), joined(7 * outs);
                mix_channels(m, pointers.data(), 0, 7, bits, separate.data());
                widen_to_rate_width(separate.data(), separate.size(), mixed_width(m, bits));
                mix_channels(m, pointers.data(), 0, 7, bits, joined.data(), rate_sample_width);
                EXPECT_EQ(joined, separate) << "to " << outs;
            }
        }
    }
}

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

// The one-pass kernels give what the steps they join give one after the
// other, for every width, both byte orders and mono (also doubled to
// stereo) or stereo, in lengths
// that leave every loop tail, and from values past their width (a damaged
// stream's) too, which clip rather than wrap.
TEST(OutputChain, OnePassKernelsMatchTheStepsTheyJoin)
{
    for (size_t count : {1u, 3u, 7u, 509u}) {
        for (int width : {8, 15, 16, 17, 24, 30, 31, 32}) {
            SCOPED_TRACE(std::to_string(count) + " values of " + std::to_string(width) + " bits");
            std::vector<int32_t> left(count), right(count);
            for (size_t i = 0; i < count; ++i) {
                left[i] = static_cast<int32_t>(i * 2654435761u) >> (32 - std::min(width + 1, 32));
                right[i] = static_cast<int32_t>(~(i * 40503u * 2654435761u)) >> (32 - width);
            }
            const int32_t* planes[] = {left.data(), right.data()};
            for (unsigned ins : {1u, 2u}) {
                for (unsigned outs = ins; outs <= 2; ++outs) {
                    std::vector<int32_t> steps(count * outs), joined(count * outs + 1, 0x5A5A5A5A);
                    mix_channels(channel_mix_for(ins, outs), planes, 0, count, width, steps.data());
                    widen_planes_to_rate_width(planes, ins, outs, 0, count, width, joined.data());
                    ASSERT_EQ(joined.back(), 0x5A5A5A5A) << "written past the end";
                    const std::vector<int32_t> mixed = steps;
                    widen_to_rate_width(steps.data(), steps.size(), width);
                    joined.pop_back();
                    ASSERT_EQ(joined, steps) << ins << " to " << outs << " channels at the rate step's width";

                    for (bool big_endian : {false, true}) {
                        DitherSource a, b;
                        std::vector<int16_t> samples(mixed.size());
                        std::string separate(2 * mixed.size(), '\0'), one_pass(2 * mixed.size() + 1, '\x77');
                        reduce_to_16(mixed.data(), mixed.size(), width, a, samples.data());
                        store_pcm16(samples.data(), samples.size(), big_endian,
                                    reinterpret_cast<uint8_t*>(&separate[0]));
                        reduce_to_pcm16(mixed.data(), mixed.size(), width, b, big_endian,
                                        reinterpret_cast<uint8_t*>(&one_pass[0]));
                        ASSERT_EQ(one_pass.back(), '\x77') << "written past the end";
                        one_pass.pop_back();
                        ASSERT_EQ(one_pass, separate) << (big_endian ? "big" : "little") << "-endian bytes";
                        ASSERT_EQ(a.next(), b.next()) << "the dither's draws differ";
                        if (outs == 1) {  // mono on a stereo device: each sample on both sides
                            DitherSource c;
                            std::string twice(4 * mixed.size() + 1, '\x77');
                            reduce_to_pcm16(mixed.data(), mixed.size(), width, c, big_endian,
                                            reinterpret_cast<uint8_t*>(&twice[0]), 2);
                            ASSERT_EQ(twice.back(), '\x77') << "written past the end";
                            for (size_t i = 0; i < mixed.size(); ++i)
                                ASSERT_TRUE(twice.compare(4 * i, 2, separate, 2 * i, 2) == 0 &&
                                            twice.compare(4 * i + 2, 2, separate, 2 * i, 2) == 0)
                                    << "sample " << i << " doubled";
                        }
                        for (size_t i = 0; i < mixed.size() && width > 16; ++i) {
                            const double exact = std::clamp(std::ldexp(mixed[i], 16 - width), -32768.0, 32767.0);
                            ASSERT_LE(std::fabs(samples[i] - exact), 1.5) << "value " << mixed[i] << " wraps";
                        }
                    }
                }
            }
        }
    }
}

namespace {

// `frames` frames of a sine per channel (`hz[c]` at `amplitude`, full scale
// being 2^29), interleaved.
std::vector<int32_t> sines(std::vector<double> hz, double rate, size_t frames, double amplitude)
{
    std::vector<int32_t> s;
    for (size_t i = 0; i < frames; ++i)
        for (double f : hz)
            s.push_back(static_cast<int32_t>(std::lround(amplitude * std::sin(2 * M_PI * f * i / rate))));
    return s;
}

// All of `in` through a fresh resampler in pieces of the sizes given (in
// turn, again and again), then its drain.
std::vector<int32_t> resample(uint32_t from, uint32_t to, unsigned channels, const std::vector<int32_t>& in,
                              std::vector<size_t> pieces)
{
    IntegerResampler r;
    EXPECT_TRUE(r.start(channels, from, to));
    std::vector<int32_t> out;
    std::vector<int32_t> buffer;
    const size_t frames = in.size() / channels;
    for (size_t done = 0, k = 0; done < frames; ++k) {
        const size_t n = std::min(pieces[k % pieces.size()], frames - done);
        buffer.assign(r.max_output(n) * channels, 0);
        const size_t m = r.process(in.data() + done * channels, n, buffer.data());
        EXPECT_LE(m, r.max_output(n));
        out.insert(out.end(), buffer.begin(), buffer.begin() + static_cast<ptrdiff_t>(m * channels));
        done += n;
    }
    buffer.assign(r.max_output(0) * channels, 0);
    const size_t m = r.drain(buffer.data());
    out.insert(out.end(), buffer.begin(), buffer.begin() + static_cast<ptrdiff_t>(m * channels));
    return out;
}

}  // namespace

// Every route of the integer rate step, mono and stereo: whatever pieces
// the input comes in (odd sizes, single frames), the same output, as many
// frames as the duration calls for, lined up with the input: a passband
// tone on each channel (different ones, so swapped channels show) comes out
// as the ideal sine at the new rate; a tone that would fold into the audible
// band is gone.
TEST(IntegerResampler, GivesTheToneAtTheNewRateWhateverThePiecesAndDropsWhatWouldFold)
{
    const struct {
        uint32_t from, to;
    } routes[] = {{96000, 48000},  {88200, 44100},  {192000, 48000}, {176400, 44100}, {192000, 96000},
                  {48000, 44100},  {44100, 48000},  {96000, 44100},  {88200, 48000},  {192000, 44100},
                  {176400, 48000}};
    const double amplitude = 0.5 * (1 << 29);
    for (const auto& route : routes) {
        for (unsigned channels : {1u, 2u}) {
            SCOPED_TRACE(std::to_string(route.from) + " to " + std::to_string(route.to) + ", " +
                         std::to_string(channels) + " channels");
            const std::vector<double> hz = channels == 1 ? std::vector<double>{1000} : std::vector<double>{1000, 15000};
            const size_t frames = route.from / 10 + 8;  // whole 2:1 steps: the count is exact
            const std::vector<int32_t> in = sines(hz, route.from, frames, amplitude);
            const std::vector<int32_t> out = resample(route.from, route.to, channels, in, {509});
            ASSERT_EQ(out, resample(route.from, route.to, channels, in, {1, 263, 4096, 3}));
            const size_t expected = (uint64_t{frames} * route.to + route.from - 1) / route.from;
            ASSERT_EQ(out.size(), expected * channels);
            // Away from the edges, where the tone starts from and ends in silence.
            const std::vector<int32_t> ideal = sines(hz, route.to, expected, amplitude);
            double worst = 0;
            for (size_t i = route.to / 200 * channels; i < out.size() - route.to / 200 * channels; ++i)
                worst = std::max(worst, std::fabs(double(out[i]) - ideal[i]));
            EXPECT_LT(worst, amplitude * 2e-4) << "not the tone at the new rate";

            // Above what the output keeps, folding to 10 kHz.
            const double fold = route.to - 10000.0;
            if (fold < route.from / 2.0) {
                const std::vector<int32_t> high = resample(
                    route.from, route.to, channels, sines(std::vector<double>(channels, fold), route.from, frames, amplitude),
                    {509});
                double peak = 0;
                for (size_t i = route.to / 200 * channels; i < high.size() - route.to / 200 * channels; ++i)
                    peak = std::max(peak, std::fabs(double(high[i])));
                EXPECT_LT(peak, amplitude * 1e-4) << fold << " Hz folds into the output";
            }
        }
    }
}
