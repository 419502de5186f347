// Every file of the FLAC corpus through lirva-play into the simulated device
// (unpaced): the device's settings in order, the bytes against the
// reference decoder's, and faulty files ending cleanly.
#include <gtest/gtest.h>

#include <FLAC/stream_decoder.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "engine_test_support.h"
#include "temp_tree.h"

namespace {

struct CorpusFile {
    std::string name;
    int channels = 0;  // 0 when unknown
    int bits = 0;      // from STREAMINFO or the frames; 0 when unknown
    int rate = 0;
    std::string decoded_samples;  // per channel, "NA" when the reference fails
    std::string sha256;           // of the reference output, "-" when none
};

std::vector<CorpusFile> manifest()
{
    std::vector<CorpusFile> files;
    const std::string dir = enginetest::corpus_dir();
    if (dir.empty())
        return {CorpusFile{"corpus-missing", 0, 0, 0, "NA", "-"}};
    std::ifstream in(dir + "/MANIFEST.tsv");
    std::string line;
    std::getline(in, line);  // column names
    while (std::getline(in, line)) {
        std::vector<std::string> col;
        std::stringstream cells(line);
        std::string cell;
        while (std::getline(cells, cell, '\t'))
            col.push_back(cell);
        if (col.size() < 11)
            continue;
        CorpusFile f;
        f.name = col[0];
        f.channels = atoi(col[2].c_str());
        f.bits = atoi(col[3].c_str());  // "16~" reads as 16, "NA" as 0
        f.rate = atoi(col[4].c_str());
        f.decoded_samples = col[6];
        f.sha256 = col[10];
        files.push_back(f);
    }
    return files;
}

std::string sha256_of(const std::string& path)
{
    enginetest::CommandResult r = enginetest::run("sha256sum '" + path + "'");
    return r.out.empty() ? "" : r.out[0].substr(0, 64);
}

// The file decoded by libFLAC straight into interleaved samples, without any
// of the engine: the reference that the device's bytes are checked against.
std::vector<int32_t> decode_samples(const std::string& path)
{
    struct Sink {
        static FLAC__StreamDecoderWriteStatus write(const FLAC__StreamDecoder*, const FLAC__Frame* frame,
                                                    const FLAC__int32* const buffer[], void* data)
        {
            auto* out = static_cast<std::vector<int32_t>*>(data);
            for (unsigned i = 0; i < frame->header.blocksize; ++i)
                for (unsigned c = 0; c < frame->header.channels; ++c)
                    out->push_back(buffer[c][i]);
            return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
        }
        static void error(const FLAC__StreamDecoder*, FLAC__StreamDecoderErrorStatus, void*) { }
    };
    std::vector<int32_t> samples;
    FLAC__StreamDecoder* d = FLAC__stream_decoder_new();
    if (FLAC__stream_decoder_init_file(d, path.c_str(), Sink::write, nullptr, Sink::error, &samples) ==
        FLAC__STREAM_DECODER_INIT_STATUS_OK)
        FLAC__stream_decoder_process_until_end_of_stream(d);
    FLAC__stream_decoder_delete(d);
    return samples;
}

// Big-endian signed samples right-aligned in whole bytes, as the reference
// decoder writes them (and as the manifest's hashes are taken).
std::vector<uint8_t> reference_raw(const std::vector<int32_t>& samples, int bits)
{
    const int width = (bits + 7) / 8;
    std::vector<uint8_t> raw;
    for (int32_t v : samples)
        for (int b = width - 1; b >= 0; --b)
            raw.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * b)));
    return raw;
}

void PrintTo(const CorpusFile& f, std::ostream* os)
{
    *os << f.name;
}

class Corpus : public ::testing::TestWithParam<CorpusFile> { };

}  // namespace

TEST_P(Corpus, PlaysThroughTheSimulatedDevice)
{
    const CorpusFile& f = GetParam();
    const std::string corpus = enginetest::corpus_dir();
    if (corpus.empty())
        GTEST_SKIP() << "the FLAC corpus is not there";

    TempTree dir;
    const std::string capture = dir / "capture.raw";
    const std::string log = dir / "device.log";
    const char* asan = getenv("ASAN_OPTIONS");
    const std::string command = std::string("env") + " LIRVA_DSP_SPEED=0 LIRVA_DSP_CAPTURE='" + capture +
        "' LIRVA_DSP_LOG='" + log + "'" + " ASAN_OPTIONS='" + (asan ? std::string(asan) + ":" : "") +
        "verify_asan_link_order=0'" + " timeout 60 " + enginetest::preloaded_program(LIRVA_PLAY, LIRVA_DSP_SIM) +
        " -v '" + corpus + "/" + f.name + "' 2>&1";
    enginetest::CommandResult played = enginetest::run(command);
    ASSERT_EQ(played.status, 0) << command << "\n" << ::testing::PrintToString(played.out);

    // The device: opened write-only, the three settings in order, closed once.
    std::ifstream log_in(log);
    std::stringstream log_text;
    log_text << log_in.rdbuf();
    std::vector<std::string> events = enginetest::lines_of(log_text.str());
    ASSERT_EQ(events.size(), 5u) << log_text.str();
    EXPECT_EQ(events[0], "open O_WRONLY|O_NONBLOCK") << "write-only, never created, never waited for";
    EXPECT_EQ(events[1], "ioctl SETFMT 32");
    EXPECT_EQ(events[2], "ioctl STEREO 2");
    EXPECT_EQ(events[3], "ioctl SPEED 44100");
    const std::vector<uint8_t> bytes = enginetest::read_file(capture);
    EXPECT_EQ(events[4].rfind("close bytes=" + std::to_string(bytes.size()) + " ", 0), 0u) << events[4];

    // The display is idle again, and every sample was played.
    ASSERT_GE(played.out.size(), 2u);
    EXPECT_EQ(played.out[played.out.size() - 2], "[] [] [0%]");
    if (f.decoded_samples != "NA") {
        EXPECT_EQ(played.out.back().rfind("samples " + f.decoded_samples + " ", 0), 0u) << played.out.back();
    }

    if (f.sha256 == "-")
        return;  // no reference: surviving is the test
    if (f.bits == 16 && f.channels == 2 && f.rate == 44100) {
        EXPECT_EQ(sha256_of(capture), f.sha256);
        return;
    }
    // Another rate or more channels: the true duration on the stereo
    // 44100 Hz device.
    if (f.rate != 44100 || f.channels > 2) {
        EXPECT_NEAR(bytes.size() / 4.0, atof(f.decoded_samples.c_str()) * 44100 / f.rate, 2);
        return;
    }
    // Mono and other widths at 44100 Hz: the reference samples, checked
    // against the manifest, brought to 16 bits (narrower ones exactly, wider
    // ones within the dither's one step) on both channels.
    const std::vector<int32_t> samples = decode_samples(corpus + "/" + f.name);
    const std::string reference = dir.file("reference.raw");
    const std::vector<uint8_t> raw = reference_raw(samples, f.bits);
    std::ofstream(reference, std::ios::binary)
        .write(reinterpret_cast<const char*>(raw.data()), static_cast<std::streamsize>(raw.size()));
    ASSERT_EQ(sha256_of(reference), f.sha256) << "the reference decode disagrees with the manifest";
    const size_t copies = f.channels == 1 ? 2 : 1;
    ASSERT_EQ(bytes.size(), samples.size() * copies * 2);
    const int tolerance = f.bits > 16 ? 1 : 0;
    int worst = 0;
    for (size_t i = 0; i < bytes.size() / 2; ++i) {
        const int16_t got = static_cast<int16_t>(bytes[2 * i] << 8 | bytes[2 * i + 1]);
        const int want = enginetest::expected_16(samples[i / copies], f.bits);
        worst = std::max(worst, std::abs(got - want));
    }
    EXPECT_LE(worst, tolerance);
}

INSTANTIATE_TEST_SUITE_P(Files, Corpus, ::testing::ValuesIn(manifest()),
                         [](const ::testing::TestParamInfo<CorpusFile>& info) {
                             std::string name = info.param.name.substr(0, info.param.name.rfind('.'));
                             for (char& c : name)
                                 if (!isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });
