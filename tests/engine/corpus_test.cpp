// Every file of the FLAC corpus through lirva-play into the simulated device
// (unpaced): the device's settings in order, the bytes against the
// reference decode, and faulty files ending cleanly.
#include <gtest/gtest.h>

#include <FLAC/stream_decoder.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "command.h"
#include "engine_test_support.h"
#include "simulated_play.h"
#include "temp_tree.h"

namespace {

// A line of the corpus manifest.
struct CorpusFile {
    std::string name;
    int channels, bits, rate;     // 0 when unknown
    std::string decoded_samples;  // per channel, "NA" when the reference fails
    std::string sha256;           // of the reference decode (16-bit: big-endian), "-" when none
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
                {col[0], atoi(col[2].c_str()), atoi(col[3].c_str()), atoi(col[4].c_str()), col[6], col[10]});
    }
    return files.empty() ? std::vector<CorpusFile>{{"corpus_missing", 0, 0, 0, "NA", "-"}} : files;
}

std::string sha256_of(const std::string& bytes)
{
    TempTree dir;
    const testsupport::CommandResult r =
        testsupport::run("sha256sum " + testsupport::shellQuoted(dir.file("b", bytes)));
    return r.output.substr(0, 64);
}

// The file decoded by libFLAC straight into interleaved samples, without any
// of the engine; with the samples as the reference decoder writes them
// (big-endian, right-aligned in whole bytes), as the manifest's hash is taken.
std::vector<int32_t> reference_samples(const std::string& path, int bits, std::string* raw)
{
    struct Sink {
        static FLAC__StreamDecoderWriteStatus write(const FLAC__StreamDecoder*, const FLAC__Frame* frame,
                                                    const FLAC__int32* const buffer[], void* data)
        {
            for (unsigned i = 0; i < frame->header.blocksize; ++i)
                for (unsigned c = 0; c < frame->header.channels; ++c)
                    static_cast<std::vector<int32_t>*>(data)->push_back(buffer[c][i]);
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
    for (int32_t v : samples)
        for (int b = (bits + 7) / 8 - 1; b >= 0; --b)
            raw->push_back(static_cast<char>(static_cast<uint32_t>(v) >> (8 * b)));
    return samples;
}

class Corpus : public ::testing::TestWithParam<CorpusFile> { };

}  // namespace

TEST_P(Corpus, PlaysThroughTheSimulatedDevice)
{
    const CorpusFile& f = GetParam();
    if (!testsupport::missingCorpus().empty())
        GTEST_SKIP() << testsupport::missingCorpus();
    const std::string path = LIRVA_CORPUS_DIR "/" + f.name;
    const enginetest::SimulatedPlay p = enginetest::play_on_simulated_device(path);
    ASSERT_EQ(p.status, 0) << ::testing::PrintToString(p.out);

    // The device: opened write-only, the three settings in order, closed once.
    ASSERT_EQ(p.device_log.size(), 5u) << ::testing::PrintToString(p.device_log);
    EXPECT_EQ(std::vector<std::string>(p.device_log.begin(), p.device_log.begin() + 4),
              (std::vector<std::string>{"open O_WRONLY|O_NONBLOCK", "ioctl SETFMT 32", "ioctl STEREO 2",
                                        "ioctl SPEED 44100"}));
    EXPECT_EQ(p.device_log.back().rfind("close bytes=" + std::to_string(p.bytes.size()) + " ", 0), 0u);
    // The display is idle again, and every sample was played.
    ASSERT_GE(p.out.size(), 2u);
    EXPECT_EQ(p.out[p.out.size() - 2], "[] [] [0%]");
    EXPECT_TRUE(f.decoded_samples == "NA" || p.out.back().rfind("samples " + f.decoded_samples + " ", 0) == 0)
        << p.out.back();

    if (f.sha256 == "-")
        return;  // no reference: ending cleanly is the test
    if (f.bits == 16 && f.channels == 2 && f.rate == 44100) {
        EXPECT_EQ(sha256_of(p.bytes), f.sha256) << "not the reference decode, byte for byte";
    } else if (f.rate != 44100 || f.channels > 2) {
        // The true duration on the stereo 44100 Hz device.
        EXPECT_NEAR(p.bytes.size() / 4.0, atof(f.decoded_samples.c_str()) * 44100 / f.rate, 2);
    } else {
        // Mono and other widths: the reference samples brought to 16 bits
        // (narrower ones exactly, wider ones within the dither's one step)
        // on both channels.
        std::string raw;
        const std::vector<int32_t> samples = reference_samples(path, f.bits, &raw);
        ASSERT_EQ(sha256_of(raw), f.sha256) << "the reference decode disagrees with the manifest";
        const size_t copies = f.channels == 1 ? 2 : 1;
        ASSERT_EQ(p.bytes.size(), samples.size() * copies * 2);
        int worst = 0;
        for (size_t i = 0; i < p.bytes.size() / 2; ++i) {
            const int got = enginetest::read_16(&p.bytes[2 * i]);
            worst = std::max(worst, std::abs(got - enginetest::expected_16(samples[i / copies], f.bits)));
        }
        EXPECT_LE(worst, f.bits > 16 ? 1 : 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Files, Corpus, ::testing::ValuesIn(manifest()),
                         [](const ::testing::TestParamInfo<CorpusFile>& info) {
                             std::string name = info.param.name.substr(0, info.param.name.rfind('.'));
                             for (char& c : name)
                                 c = isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });
