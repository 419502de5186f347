// lirva-play, its play thread and decoder session, into the simulated device
// (unpaced): every file of the FLAC corpus against the reference decode,
// generated tones at their true duration and frequency without steps at
// frame edges, and the device's answers and failures deciding what it gets.
#include <gtest/gtest.h>

#include <FLAC/stream_decoder.h>
#include <FLAC/stream_encoder.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <regex>
#include <sstream>

#include "command.h"
#include "engine_test_support.h"
#include "hostile_flac.h"
#include "temp_tree.h"

namespace {

using testsupport::shellQuoted;

struct Played {
    int status;
    std::string out, device_log, bytes;
};

// Plays `file` with lirva-play -v; `device` holds the simulated device's
// settings (its answers, its failures). In a cross build lirva-play runs
// under the emulator that runs the test, the preload set for it alone (-E).
Played play(const std::string& file, const std::string& device = "")
{
    TempTree dir;
    const char* asan = getenv("ASAN_OPTIONS");
    const std::string emulator = LIRVA_TEST_EMULATOR;
    const std::string program = "LD_PRELOAD=" + shellQuoted(LIRVA_DSP_SIM) + " " + shellQuoted(LIRVA_PLAY);
    const testsupport::CommandResult r = testsupport::run(
        "env LIRVA_DSP_SPEED=0 LIRVA_DSP_CAPTURE=" + shellQuoted(dir / "capture") +
        " LIRVA_DSP_LOG=" + shellQuoted(dir / "log") + " " + device + " ASAN_OPTIONS=" +
        shellQuoted((asan ? std::string(asan) + ":" : "") + "verify_asan_link_order=0") + " timeout 60 " +
        (emulator.empty() ? "env " + program : emulator + " -E " + program) + " -v " + shellQuoted(file) + " 2>&1");
    return {r.exitCode, r.output, testsupport::readFile(dir / "log"), testsupport::readFile(dir / "capture")};
}

// The rate requests once the stream's rate is known: its own rate, then
// 48000 and 44100 Hz until the device takes one; none when the device plays
// the stream's rate already. `only_rate`: the one rate of a device that
// plays no other, 0 for one that plays the usual rates.
std::string rate_requests(uint32_t stream_rate, uint32_t only_rate)
{
    const auto ask = [](uint32_t rate) { return "ioctl SPEED " + std::to_string(rate) + "\n"; };
    if (stream_rate == (only_rate != 0 ? only_rate : 44100) || stream_rate == 0)
        return "";
    std::string log = ask(stream_rate);
    if (only_rate == 0)
        return log;
    if (stream_rate != 48000) {
        log += ask(48000);
        if (only_rate == 48000)
            return log;
    }
    return stream_rate != 44100 ? log + ask(44100) : log;
}

// Every play ends so: the device opened write-only (never created, never
// waited for, not inherited), the three settings asked in order whatever it
// answers, then the `rates` requests, closed once after the bytes it got;
// the display idle, then the summary line with `samples` played. A play that
// was not played out says why (`why`) and fails.
void expect_clean_end(const Played& p, const std::string& samples, bool opens = true, const std::string& rates = "",
                      const std::string& why = "")
{
    ASSERT_EQ(p.status, why.empty() ? 0 : 1) << p.out;
    EXPECT_NE(p.out.find(why.empty() ? "samples" : ": " + why), std::string::npos) << p.out;
    const std::string settings = "ioctl SETFMT 32\nioctl STEREO 2\nioctl SPEED 44100\n" + rates +
        "(write fails E[A-Z]+\n)?close bytes=" + std::to_string(p.bytes.size()) + " writes=[0-9]+\n";
    EXPECT_TRUE(std::regex_match(p.device_log,
                                 std::regex("open O_WRONLY\\|O_NONBLOCK\\|O_CLOEXEC\n" + (opens ? settings : ""))))
        << p.device_log;
    EXPECT_NE(p.out.find("[] [] [0%]\nsamples " + (samples == "NA" ? "" : samples + " ")), std::string::npos)
        << "the display is left busy, or not every sample played:\n"
        << p.out;
}

// A line of the corpus manifest.
struct CorpusFile {
    std::string name;
    int channels, bits, rate;     // 0 when unknown
    bool in_streaminfo;           // the facts are STREAMINFO's, not only the frames' ("~")
    std::string decoded_samples;  // per channel, "NA" when the reference fails
    std::string sha256;           // of the reference decode, "-" when the reference decoder fails
};

void PrintTo(const CorpusFile& f, std::ostream* os)
{
    *os << f.name;
}

std::vector<CorpusFile> manifest()
{
    std::vector<CorpusFile> files;
    std::ifstream in(LIRVA_CORPUS_DIR "/MANIFEST.tsv");
    std::string line;
    std::getline(in, line);  // column names
    while (std::getline(in, line)) {
        std::vector<std::string> col;
        std::stringstream cells(line);
        for (std::string cell; std::getline(cells, cell, '\t');)
            col.push_back(cell);
        if (col.size() >= 11)  // "16~" reads as 16, "NA" as 0
            files.push_back(
                {col[0], atoi(col[2].c_str()), atoi(col[3].c_str()), atoi(col[4].c_str()),
                 col[4].find('~') == std::string::npos, col[6], col[10]});
    }
    return files.empty() ? std::vector<CorpusFile>{{"corpus_missing", 0, 0, 0, false, "NA", "-"}} : files;
}

// The file decoded by libFLAC straight into interleaved samples, without
// any of the engine; false when the decode fails or does not match the
// file's MD5 checksum.
bool reference_decode(const std::string& path, std::vector<int32_t>* samples)
{
    const auto write = [](const FLAC__StreamDecoder*, const FLAC__Frame* frame, const FLAC__int32* const buffer[],
                          void* data) {
        for (unsigned i = 0; i < frame->header.blocksize; ++i)
            for (unsigned c = 0; c < frame->header.channels; ++c)
                static_cast<std::vector<int32_t>*>(data)->push_back(buffer[c][i]);
        return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
    };
    const auto error = [](const FLAC__StreamDecoder*, FLAC__StreamDecoderErrorStatus, void*) {};
    FLAC__StreamDecoder* d = FLAC__stream_decoder_new();
    FLAC__stream_decoder_set_md5_checking(d, true);
    const bool ok = FLAC__stream_decoder_init_file(d, path.c_str(), write, nullptr, error, samples) ==
            FLAC__STREAM_DECODER_INIT_STATUS_OK &&
        FLAC__stream_decoder_process_until_end_of_stream(d) && FLAC__stream_decoder_finish(d);
    FLAC__stream_decoder_delete(d);
    return ok;
}

class Corpus : public ::testing::TestWithParam<CorpusFile> { };

// One second of a 500 Hz sine (whole cycles at every rate: it ends as it
// began, at zero) at half scale on the left channel and a quarter on the
// right, played on a device that plays only `only_rate` (0: the usual
// rates, so the tone's own) and answers or fails as `device` asks.
struct Tone {
    const char* name;
    uint32_t rate;
    unsigned bits, channels;
    uint32_t only_rate = 0;
    std::string device = "";
    unsigned out_channels = 2;
    bool big_endian = true, opens = true;
    const char* why = "";  // why it does not play; "" when it plays

    double out_rate() const { return only_rate != 0 ? only_rate : rate; }
};
constexpr double tone_hz = 500;

void PrintTo(const Tone& t, std::ostream* os)
{
    *os << t.name;
}

void write_tone(const std::string& path, const Tone& t)
{
    std::vector<int32_t> interleaved;
    const double full = std::ldexp(1.0, static_cast<int>(t.bits) - 1);
    for (size_t i = 0; i < t.rate; ++i) {
        const double s = std::sin(2 * M_PI * tone_hz * static_cast<double>(i) / t.rate);
        for (unsigned c = 0; c < t.channels; ++c)
            interleaved.push_back(static_cast<int32_t>(std::lround((c == 0 ? 0.5 : 0.25) * full * s)));
    }
    FLAC__StreamEncoder* e = FLAC__stream_encoder_new();
    FLAC__stream_encoder_set_channels(e, t.channels);
    FLAC__stream_encoder_set_bits_per_sample(e, t.bits);
    FLAC__stream_encoder_set_sample_rate(e, t.rate);
    EXPECT_EQ(FLAC__stream_encoder_init_file(e, path.c_str(), nullptr, nullptr), FLAC__STREAM_ENCODER_INIT_STATUS_OK);
    EXPECT_TRUE(FLAC__stream_encoder_process_interleaved(e, interleaved.data(), t.rate));
    FLAC__stream_encoder_finish(e);
    FLAC__stream_encoder_delete(e);
}

// One channel of what the device played: the tone's duration, frequency
// (from its rising zero crossings) and level, and no step between
// neighbouring samples beyond what the sine's own slope gives (plus a few
// steps of rounding and dither, more for narrow samples); a click at a
// frame edge is a step of thousands. The first and last 5 ms are left out:
// there the tone starts from and ends in silence, a kink that the
// resampler's band limit turns into a little ringing.
void expect_true_tone(const std::string& bytes, const Tone& t, unsigned which)
{
    std::vector<double> s;
    for (size_t i = 2 * which; i + 1 < bytes.size(); i += 2 * t.out_channels)
        s.push_back(enginetest::read_16(&bytes[i], t.big_endian));
    EXPECT_NEAR(s.size() / t.out_rate(), 1, 0.003) << "duration";
    double first = -1, last = -1, crossings = 0, peak = 0, step = 0;
    const size_t edge = static_cast<size_t>(t.out_rate() * 0.005);
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
    EXPECT_NEAR((crossings - 1) * t.out_rate() / (last - first), tone_hz, tone_hz * 0.002) << "frequency";
    // Half scale on the left, a quarter on the right, mono on both, their
    // mean on one channel; 5.1 with a quarter on all but the left, mixed
    // with centre and surrounds at -3 dB (left 0.5 + 2 x 0.25 x 0.7071,
    // right 0.25 + the same, both over the 2.4142 of the row's gains).
    const double level = 32768 *
        (t.channels == 1       ? 0.5
             : t.channels == 6 ? (which == 0 ? 0.35355 : 0.25)
             : t.out_channels == 1 ? 0.375
             : which == 0          ? 0.5
                                   : 0.25);
    EXPECT_NEAR(peak, level, level * 0.02) << "level";
    EXPECT_LE(step, peak * 2 * M_PI * tone_hz / t.out_rate() * 1.01 + std::ldexp(3, 16 - std::min(16u, t.bits)))
        << "a step between samples";
}

class TonePlay : public ::testing::TestWithParam<Tone> { };

}  // namespace

TEST_P(Corpus, PlaysAsTheReferenceDecodeOrEndsCleanly)
{
    const CorpusFile& f = GetParam();
    if (!testsupport::missingCorpus().empty())
        GTEST_SKIP() << testsupport::missingCorpus();
    const std::string path = LIRVA_CORPUS_DIR "/" + f.name;
    const Played p = play(path);
    // Without STREAMINFO nothing is asked; a file whose facts are unknown
    // may have asked before its metadata failed.
    const std::string requests = !f.in_streaminfo ? ""
        : f.rate > 0                               ? rate_requests(static_cast<uint32_t>(f.rate), 0)
                                                   : "(ioctl SPEED [0-9]+\n)?";
    // A file the reference cannot decode may be refused.
    expect_clean_end(p, f.decoded_samples, true, requests, p.status != 0 && f.sha256 == "-" ? "not a FLAC file" : "");
    if (f.sha256 == "-")
        return;  // no reference: ending cleanly is the test
    if (!f.in_streaminfo) {
        // Known from the frames only: the device stays at 44100 Hz, and the
        // stream is converted to it at its true duration.
        EXPECT_NEAR(p.bytes.size() / 4.0, atof(f.decoded_samples.c_str()) * 44100 / f.rate, 2);
        return;
    }
    if (f.channels > 2) {
        // The true duration on the stereo device at the stream's rate.
        EXPECT_NEAR(p.bytes.size() / 4.0, atof(f.decoded_samples.c_str()), 2);
        return;
    }
    // The reference samples brought to 16 bits: narrower ones exactly (16-bit
    // stereo thus byte for byte), wider ones within the dither's one step;
    // mono on both channels.
    std::vector<int32_t> samples;
    ASSERT_TRUE(reference_decode(path, &samples)) << "the reference decode fails its checksum";
    const size_t copies = f.channels == 1 ? 2 : 1;
    ASSERT_EQ(p.bytes.size(), samples.size() * copies * 2);
    int worst = 0;
    for (size_t i = 0; i < p.bytes.size() / 2; ++i)
        worst = std::max(
            worst,
            std::abs(enginetest::read_16(&p.bytes[2 * i]) - enginetest::expected_16(samples[i / copies], f.bits)));
    EXPECT_LE(worst, f.bits > 16 ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Files, Corpus, ::testing::ValuesIn(manifest()),
                         [](const ::testing::TestParamInfo<CorpusFile>& info) {
                             const std::string& name = info.param.name;
                             return std::regex_replace(name.substr(0, name.rfind('.')), std::regex("[^A-Za-z0-9]"),
                                                       "_");
                         });

TEST_P(TonePlay, PlaysAtTrueDurationAndFrequencyWithoutStepsOrNotAtAll)
{
    const Tone& t = GetParam();
    TempTree dir;
    write_tone(dir / "tone.flac", t);
    const std::string only = t.only_rate != 0 ? "LIRVA_DSP_RATES=" + std::to_string(t.only_rate) + " " : "";
    const Played p = play(dir / "tone.flac", only + t.device);
    // A device that cannot play ends the play at once: nothing decoded.
    const bool plays = *t.why == '\0';
    expect_clean_end(p, plays ? std::to_string(t.rate) : "0", t.opens, plays ? rate_requests(t.rate, t.only_rate) : "",
                     t.why);
    EXPECT_TRUE(plays || p.bytes.empty());
    for (unsigned side = 0; side < (plays ? t.out_channels : 0); ++side) {
        SCOPED_TRACE(side == 0 ? "left" : "right");
        expect_true_tone(p.bytes, t, side);
    }
}

// Each stream at its own rate, then on devices of one rate: 2:1 stages
// (from 88.2, 96, 176.4 and 192 kHz), between the 44.1 and 48 kHz families,
// both, odd rates (libspeexdsp), a downmix on the way; the device answering
// one channel, little-endian or a format we do not write; a device that
// cannot be opened or written.
INSTANTIATE_TEST_SUITE_P(
    Tones, TonePlay,
    ::testing::Values(
        Tone{"8000Hz_16bit_mono", 8000, 16, 1}, Tone{"22050Hz_12bit_stereo", 22050, 12, 2},
        Tone{"44100Hz_24bit_mono", 44100, 24, 1}, Tone{"96000Hz_24bit_stereo", 96000, 24, 2},
        Tone{"192000Hz_16bit_mono", 192000, 16, 1},
        Tone{"44100Hz_to_48000Hz_device", 44100, 16, 2, 48000},
        Tone{"48000Hz_to_44100Hz_device", 48000, 16, 2, 44100},
        Tone{"96000Hz_16bit_to_48000Hz_device", 96000, 16, 2, 48000},
        Tone{"96000Hz_24bit_to_44100Hz_device", 96000, 24, 2, 44100},
        Tone{"88200Hz_24bit_mono_to_48000Hz_device", 88200, 24, 1, 48000},
        Tone{"176400Hz_24bit_to_44100Hz_device", 176400, 24, 2, 44100},
        Tone{"192000Hz_24bit_to_48000Hz_device", 192000, 24, 2, 48000},
        Tone{"192000Hz_16bit_mono_to_44100Hz_device", 192000, 16, 1, 44100},
        Tone{"96000Hz_24bit_6ch_to_48000Hz_device", 96000, 24, 6, 48000},
        Tone{"8000Hz_16bit_mono_to_44100Hz_device", 8000, 16, 1, 44100},
        Tone{"22050Hz_12bit_to_48000Hz_device", 22050, 12, 2, 48000},
        Tone{"device_of_one_channel", 44100, 16, 2, 0, "LIRVA_DSP_ANSWER=channels=1", 1},
        Tone{"little_endian_device", 44100, 16, 2, 0, "LIRVA_DSP_ANSWER=format=s16le", 2, false},
        Tone{"unsigned_8bit_device", 44100, 16, 2, 0, "LIRVA_DSP_ANSWER=format=u8", 2, true, true,
             "the audio device refused the format"},
        Tone{"device_fails_to_open", 44100, 16, 2, 0, "LIRVA_DSP_FAIL=open", 2, true, false,
             "no audio device: cannot open /dev/dsp"},
        Tone{"device_fails_every_write", 44100, 16, 2, 0, "LIRVA_DSP_FAIL=write", 2, true, true,
             "the audio device failed a write"},
        Tone{"stream_below_44Hz", 40, 16, 2, 0, "", 2, true, true,
             "the audio device cannot play the stream's rate or channels"}),
    [](const ::testing::TestParamInfo<Tone>& info) { return std::string(info.param.name); });

namespace {

struct Hostile {
    const char* name;
    std::function<std::string(const std::string& path)> make;  // "" when made, or why not
    const char* why;                                            // "" when it plays to its end
};

void PrintTo(const Hostile& h, std::ostream* os)
{
    *os << h.name;
}

const std::string long_corpus_file = LIRVA_CORPUS_DIR "/subset-25-variable-blocksize.flac";  // 1102793 samples
constexpr long long mib = 1 << 20;

class HostilePlay : public ::testing::TestWithParam<Hostile> { };

}  // namespace

// Files with nothing playable end by themselves after a bounded search and
// say why (a terabyte of zeros, gigabytes of noise, zeros after the first
// frames); a file whose frames resume after megabytes of noise plays on to
// its end.
TEST_P(HostilePlay, EndsByItselfOrPlaysPastTheDamage)
{
    const Hostile& h = GetParam();
    if (!testsupport::missingCorpus().empty())
        GTEST_SKIP() << testsupport::missingCorpus();
    TempTree dir;
    const std::string why = h.make(dir / "hostile.flac");
    if (!why.empty())
        GTEST_SKIP() << why;
    const Played p = play(dir / "hostile.flac");
    if (*h.why != '\0') {
        expect_clean_end(p, "NA", true, "(ioctl SPEED [0-9]+\n)?", h.why);
        return;
    }
    expect_clean_end(p, "NA");
    std::smatch samples;
    ASSERT_TRUE(std::regex_search(p.out, samples, std::regex("samples ([0-9]+)"))) << p.out;
    EXPECT_GE(std::stoll(samples[1]), 1102793 - 2 * 4096) << "the frames after the damage were not played";
}

INSTANTIATE_TEST_SUITE_P(
    Files, HostilePlay,
    ::testing::Values(
        Hostile{"TerabyteOfZeros", [](const std::string& f) { return make_noise_then_holes(f, 0, 1LL << 40); },
                "not a FLAC file"},
        Hostile{"GigabytesOfNoise",
                [](const std::string& f) { return make_noise_then_holes(f, 32 * mib, 4LL << 30); },
                "no playable frame"},  // the noise holds frame sync codes, which read as a stream's start
        Hostile{"ZerosAfterTheFirstFrames",
                [](const std::string& f) { return make_sparse_after_header(f, long_corpus_file, 1LL << 40); },
                "no playable frame"},
        Hostile{"NoiseInTheMiddle",
                [](const std::string& f) { return make_damaged(f, long_corpus_file, 6 * mib); }, ""}),
    [](const ::testing::TestParamInfo<Hostile>& info) { return std::string(info.param.name); });

// A device whose every write is interrupted before it takes a byte: the
// writer retries at a slow pace instead of spinning, and Ctrl-C still
// stops the play. Stopped once the device's first refusal is logged, a
// spinning writer makes millions of calls meanwhile; a paced one a handful
// per hundredth of a second.
TEST(InterruptedDevice, RetriesWithoutSpinningAndStopsAtOnce)
{
    if (!testsupport::missingCorpus().empty())
        GTEST_SKIP() << testsupport::missingCorpus();
    TempTree dir;
    const std::string log = dir / "log";
    const std::string emulator = LIRVA_TEST_EMULATOR;
    const std::string program = "LD_PRELOAD=" + shellQuoted(LIRVA_DSP_SIM) + " " + shellQuoted(LIRVA_PLAY);
    const testsupport::CommandResult r = testsupport::run(
        "env LIRVA_DSP_SPEED=0 LIRVA_DSP_FAIL=eintr LIRVA_DSP_LOG=" + shellQuoted(log) +
        " ASAN_OPTIONS=verify_asan_link_order=0 timeout -k 10 60 " +
        (emulator.empty() ? "env " + program : emulator + " -E " + program) + " " + shellQuoted(long_corpus_file) +
        " & until grep -q 'write fails' " + shellQuoted(log) + " 2>/dev/null || ! kill -0 $! 2>/dev/null; do sleep 0.05; done;"
        " kill -INT $!; wait $!");
    EXPECT_EQ(r.exitCode, 0) << "not stopped by Ctrl-C:\n" << r.output;
    std::smatch writes;
    const std::string device_log = testsupport::readFile(log);
    ASSERT_TRUE(std::regex_search(device_log, writes, std::regex("writes=([0-9]+)"))) << device_log;
    EXPECT_LT(std::stoll(writes[1]), 10000) << "the writer spins";
}
