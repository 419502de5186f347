// Generated tones through lirva-play into the simulated device (unpaced):
// each rate, width and channel count plays at its true duration and
// frequency without steps at frame edges; and the device's answers to the
// settings (another rate, one channel, little-endian, a format we do not
// write) decide what it gets.
#include <gtest/gtest.h>

#include <FLAC/stream_encoder.h>

#include <cmath>

#include "engine_test_support.h"
#include "simulated_play.h"
#include "temp_tree.h"

namespace {

// Whole cycles at every rate: the tone ends as it began, at zero, so its
// last samples are no step either.
constexpr double tone_hz = 500;

struct Tone {
    uint32_t rate;
    unsigned bits, channels;
};

// A FLAC file of one second of a sine at half scale on the left channel and
// a quarter on the right; returns the left channel's 16-bit values.
std::vector<double> write_tone(const std::string& path, const Tone& t)
{
    std::vector<int32_t> interleaved;
    std::vector<double> left16;
    const double full = std::ldexp(1.0, static_cast<int>(t.bits) - 1);
    for (size_t i = 0; i < t.rate; ++i) {
        const double s = std::sin(2 * M_PI * tone_hz * static_cast<double>(i) / t.rate);
        interleaved.push_back(static_cast<int32_t>(std::lround(0.5 * full * s)));
        left16.push_back(std::lround(0.5 * 32768 * s));
        if (t.channels == 2)
            interleaved.push_back(static_cast<int32_t>(std::lround(0.25 * full * s)));
    }
    FLAC__StreamEncoder* e = FLAC__stream_encoder_new();
    FLAC__stream_encoder_set_channels(e, t.channels);
    FLAC__stream_encoder_set_bits_per_sample(e, t.bits);
    FLAC__stream_encoder_set_sample_rate(e, t.rate);
    EXPECT_EQ(FLAC__stream_encoder_init_file(e, path.c_str(), nullptr, nullptr), FLAC__STREAM_ENCODER_INIT_STATUS_OK);
    EXPECT_TRUE(FLAC__stream_encoder_process_interleaved(e, interleaved.data(), t.rate));
    FLAC__stream_encoder_finish(e);
    FLAC__stream_encoder_delete(e);
    return left16;
}

// One channel of what the device played, read in the device's byte order.
std::vector<double> channel(const std::string& bytes, unsigned channels, unsigned which, bool big_endian = true)
{
    std::vector<double> s;
    for (size_t i = 2 * which; i + 1 < bytes.size(); i += 2 * channels)
        s.push_back(enginetest::read_16(&bytes[i], big_endian));
    return s;
}

// The tone's duration and frequency (from its rising zero crossings), and
// no step between neighbouring samples beyond what the sine's own slope
// gives (plus a few steps of rounding and dither). A click at a frame edge
// is a step of thousands. The first and last 5 ms are left out: there the
// tone starts from and ends in silence, a kink that the resampler's band
// limit turns into a little ringing.
void expect_true_tone(const std::vector<double>& s, double rate)
{
    EXPECT_NEAR(s.size() / rate, 1, 0.003) << "duration";
    double first = -1, last = -1, crossings = 0, peak = 0, step = 0;
    const size_t edge = static_cast<size_t>(rate * 0.005);
    for (size_t i = 1; i < s.size(); ++i) {
        if (s[i - 1] < 0 && s[i] >= 0) {
            last = static_cast<double>(i - 1) - s[i - 1] / (s[i] - s[i - 1]);
            first = first < 0 ? last : first;
            ++crossings;
        }
        if (i > edge && i + edge < s.size()) {
            peak = std::fmax(peak, std::fabs(s[i]));
            step = std::fmax(step, std::fabs(s[i] - s[i - 1]));
        }
    }
    EXPECT_NEAR((crossings - 1) * rate / (last - first), tone_hz, tone_hz * 0.002) << "frequency";
    EXPECT_LE(step, peak * 2 * M_PI * tone_hz / rate * 1.01 + 3) << "a step between samples";
}

class TonePlay : public ::testing::TestWithParam<Tone> { };

}  // namespace

TEST_P(TonePlay, TrueDurationFrequencyAndNoSteps)
{
    TempTree dir;
    write_tone(dir / "tone.flac", GetParam());
    const enginetest::SimulatedPlay p = enginetest::play_on_simulated_device(dir / "tone.flac");
    ASSERT_EQ(p.status, 0) << ::testing::PrintToString(p.out);
    for (unsigned side = 0; side < 2; ++side) {
        SCOPED_TRACE(side == 0 ? "left" : "right");
        expect_true_tone(channel(p.bytes, 2, side), 44100);
    }
}

// Up- and downsampling, the device's own rate, both widths and channel counts.
INSTANTIATE_TEST_SUITE_P(Tones, TonePlay,
                         ::testing::Values(Tone{8000, 16, 1}, Tone{22050, 24, 2}, Tone{44100, 24, 1},
                                           Tone{48000, 16, 2}, Tone{96000, 24, 2}, Tone{192000, 16, 1}),
                         [](const ::testing::TestParamInfo<Tone>& info) {
                             const Tone& t = info.param;
                             return std::to_string(t.rate) + "Hz_" + std::to_string(t.bits) + "bit_" +
                                 (t.channels == 1 ? "mono" : "stereo");
                         });

// The three requests stay as they are; what the device answers decides the
// format of what it is sent.
TEST(DeviceAnswers, EachAnswerGetsItsFormat)
{
    TempTree dir;
    const std::vector<double> left = write_tone(dir / "tone.flac", {44100, 16, 2});
    const struct {
        const char* answer;
        unsigned channels;
        double rate;
        bool big_endian, plays;
    } cases[] = {
        {"rate=48000", 2, 48000, true, true},
        {"channels=1", 1, 44100, true, true},
        {"format=s16le", 2, 44100, false, true},
        {"format=u8", 2, 44100, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        const enginetest::SimulatedPlay p = enginetest::play_on_simulated_device(dir / "tone.flac", c.answer);
        ASSERT_EQ(p.status, 0) << ::testing::PrintToString(p.out);
        ASSERT_GE(p.device_log.size(), 5u);
        EXPECT_EQ(std::vector<std::string>(p.device_log.begin() + 1, p.device_log.begin() + 4),
                  (std::vector<std::string>{"ioctl SETFMT 32", "ioctl STEREO 2", "ioctl SPEED 44100"}));
        ASSERT_GE(p.out.size(), 2u);
        EXPECT_EQ(p.out[p.out.size() - 2], "[] [] [0%]") << "the display is idle at the end";
        if (!c.plays) {
            EXPECT_EQ(p.device_log.back(), "close bytes=0 writes=0");
            continue;
        }
        for (unsigned side = 0; side < c.channels; ++side)
            expect_true_tone(channel(p.bytes, c.channels, side, c.big_endian), c.rate);
        // Nothing to convert but the byte order: the left channel exactly.
        EXPECT_TRUE(c.big_endian || channel(p.bytes, 2, 0, false) == left);
    }
}
