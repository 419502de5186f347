// Generated tones through lirva-play into the simulated device (unpaced):
// every rate, width and channel count plays at its true duration and
// frequency without steps at frame edges; and the device's answers to the
// settings (another rate, one channel, little-endian, a format we do not
// write) decide what it gets.
#include <gtest/gtest.h>

#include <FLAC/stream_encoder.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "engine_test_support.h"
#include "temp_tree.h"
#include "tone_analysis.h"

namespace {

// Whole cycles at every rate: the tone ends as it began, at zero, so its
// last samples are no step either.
constexpr double tone_hz = 500;
constexpr double tone_seconds = 1;

struct Tone {
    uint32_t rate;
    unsigned bits;
    unsigned channels;
};

void PrintTo(const Tone& t, std::ostream* out)
{
    *out << t.rate << " Hz, " << t.bits << " bits, " << t.channels << " channel(s)";
}

// Writes a FLAC file of a sine at half scale on the left channel and a
// quarter on the right; returns the left channel's 16-bit values.
std::vector<int16_t> write_tone(const std::string& path, const Tone& t)
{
    const size_t frames = static_cast<size_t>(t.rate * tone_seconds);
    std::vector<int32_t> interleaved;
    std::vector<int16_t> left16;
    const double full = std::ldexp(1.0, static_cast<int>(t.bits) - 1);
    for (size_t i = 0; i < frames; ++i) {
        const double s = std::sin(2 * M_PI * tone_hz * static_cast<double>(i) / t.rate);
        interleaved.push_back(static_cast<int32_t>(std::lround(0.5 * full * s)));
        left16.push_back(static_cast<int16_t>(std::lround(0.5 * 32768 * s)));
        if (t.channels == 2)
            interleaved.push_back(static_cast<int32_t>(std::lround(0.25 * full * s)));
    }
    FLAC__StreamEncoder* e = FLAC__stream_encoder_new();
    FLAC__stream_encoder_set_channels(e, t.channels);
    FLAC__stream_encoder_set_bits_per_sample(e, t.bits);
    FLAC__stream_encoder_set_sample_rate(e, t.rate);
    FLAC__stream_encoder_set_compression_level(e, 1);
    EXPECT_EQ(FLAC__stream_encoder_init_file(e, path.c_str(), nullptr, nullptr), FLAC__STREAM_ENCODER_INIT_STATUS_OK);
    EXPECT_TRUE(FLAC__stream_encoder_process_interleaved(e, interleaved.data(), static_cast<unsigned>(frames)));
    FLAC__stream_encoder_finish(e);
    FLAC__stream_encoder_delete(e);
    return left16;
}

struct Played {
    enginetest::CommandResult result;
    std::vector<std::string> device_log;
    std::vector<uint8_t> bytes;
};

Played play(TempTree& dir, const std::string& file, const std::string& answer = "")
{
    const std::string capture = dir / "capture.raw";
    const std::string log = dir / "device.log";
    unlink(log.c_str());
    const char* asan = getenv("ASAN_OPTIONS");
    const std::string command = std::string("env") + " LIRVA_DSP_SPEED=0 LIRVA_DSP_CAPTURE='" + capture +
        "' LIRVA_DSP_LOG='" + log + "'" + " LIRVA_DSP_ANSWER='" + answer + "'" + " ASAN_OPTIONS='" +
        (asan ? std::string(asan) + ":" : "") + "verify_asan_link_order=0'" + " timeout 60 " +
        enginetest::preloaded_program(LIRVA_PLAY, LIRVA_DSP_SIM) + " -v '" + file + "' 2>&1";
    Played p;
    p.result = enginetest::run(command);
    std::ifstream in(log);
    std::stringstream text;
    text << in.rdbuf();
    p.device_log = enginetest::lines_of(text.str());
    p.bytes = enginetest::read_file(capture);
    return p;
}

std::vector<int16_t> samples_of(const std::vector<uint8_t>& bytes, bool big_endian)
{
    std::vector<int16_t> s;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        s.push_back(static_cast<int16_t>(big_endian ? bytes[i] << 8 | bytes[i + 1] : bytes[i + 1] << 8 | bytes[i]));
    return s;
}

// One channel of what the device played: the tone's duration and
// frequency, and no step between neighbouring samples beyond what the
// sine's own slope gives (plus a few steps of rounding and dither). A click
// at a frame edge is a step of thousands. The first and last 5 ms are left
// out: there the tone starts from and ends in silence, a kink that the
// resampler's band limit turns into a little ringing.
void expect_true_tone(const std::vector<double>& s, double rate)
{
    EXPECT_NEAR(s.size() / rate, tone_seconds, 0.003) << "duration";
    EXPECT_NEAR(tonetest::frequency(s, rate), tone_hz, tone_hz * 0.002) << "frequency";
    const size_t edge = static_cast<size_t>(rate * 0.005);
    ASSERT_GT(s.size(), 2 * edge);
    const std::vector<double> inner(s.begin() + static_cast<long>(edge), s.end() - static_cast<long>(edge));
    const double slope = tonetest::peak(inner) * 2 * M_PI * tone_hz / rate;
    EXPECT_LE(tonetest::largest_step(inner), slope * 1.01 + 3) << "a step between samples";
}

std::string name_of(const Tone& t)
{
    return std::to_string(t.rate) + "Hz_" + std::to_string(t.bits) + "bit_" + (t.channels == 1 ? "mono" : "stereo");
}

class TonePlay : public ::testing::TestWithParam<Tone> { };

std::vector<Tone> every_tone()
{
    std::vector<Tone> tones;
    for (uint32_t rate : {8000u, 11025u, 22050u, 32000u, 37800u, 48000u, 88200u, 96000u, 192000u})
        for (unsigned bits : {16u, 24u})
            for (unsigned channels : {1u, 2u})
                tones.push_back({rate, bits, channels});
    return tones;
}

}  // namespace

TEST_P(TonePlay, TrueDurationFrequencyAndNoSteps)
{
    const Tone& t = GetParam();
    TempTree dir;
    const std::string file = dir / "tone.flac";
    write_tone(file, t);
    const Played p = play(dir, file);
    ASSERT_EQ(p.result.status, 0) << ::testing::PrintToString(p.result.out);
    const std::vector<int16_t> s = samples_of(p.bytes, true);
    ASSERT_EQ(s.size() % 2, 0u);
    for (unsigned side = 0; side < 2; ++side) {
        SCOPED_TRACE(side == 0 ? "left" : "right");
        expect_true_tone(tonetest::channel(s, 2, side), 44100);
    }
}

INSTANTIATE_TEST_SUITE_P(Tones, TonePlay, ::testing::ValuesIn(every_tone()),
                         [](const ::testing::TestParamInfo<Tone>& info) { return name_of(info.param); });

// The three requests stay as they are; what the device answers decides the
// format of what it is sent.
TEST(DeviceAnswers, EachAnswerGetsItsFormat)
{
    TempTree dir;
    const std::string file = dir / "tone.flac";
    const std::vector<int16_t> left = write_tone(file, {44100, 16, 2});
    const struct {
        const char* answer;
        unsigned channels;
        double rate;
        bool big_endian;
        bool plays;
    } cases[] = {
        {"rate=48000", 2, 48000, true, true},
        {"channels=1", 1, 44100, true, true},
        {"format=s16le", 2, 44100, false, true},
        {"format=u8", 2, 44100, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        const Played p = play(dir, file, c.answer);
        ASSERT_EQ(p.result.status, 0) << ::testing::PrintToString(p.result.out);
        ASSERT_GE(p.device_log.size(), 5u);
        EXPECT_EQ(std::vector<std::string>(p.device_log.begin() + 1, p.device_log.begin() + 4),
                  (std::vector<std::string>{"ioctl SETFMT 32", "ioctl STEREO 2", "ioctl SPEED 44100"}));
        ASSERT_GE(p.result.out.size(), 2u);
        EXPECT_EQ(p.result.out[p.result.out.size() - 2], "[] [] [0%]") << "the display is idle at the end";
        if (!c.plays) {
            EXPECT_TRUE(p.bytes.empty());
            EXPECT_EQ(p.device_log.back(), "close bytes=0 writes=0");
            continue;
        }
        const std::vector<int16_t> s = samples_of(p.bytes, c.big_endian);
        for (unsigned side = 0; side < c.channels; ++side)
            expect_true_tone(tonetest::channel(s, c.channels, side), c.rate);
        if (!c.big_endian) {
            // Nothing to convert but the byte order: the left channel exactly.
            std::vector<double> want(left.begin(), left.end());
            EXPECT_EQ(tonetest::channel(s, 2, 0), want);
        }
    }
}
