// The decoder session on real files: opening, the record and the display
// calls over a play, closing, and the corner cases of STREAMINFO. Faulty and
// unusual streams as a whole are played by the corpus tests; stops by the
// plug-in's play control tests.
#include <sys/stat.h>

#include <decoder_session.h>

#include <filesystem>

#include "writer_fixture.h"

using Ops = std::vector<std::string>;

namespace {

const Ops opening = {"DisplayElapsedTime", "DisplayTotalTime"};
const Ops closing = {"HideElapsedTime", "ResetProgressBar", "HideTotalTime"};

std::string corpus_file(const char* name)
{
    return enginetest::corpus_dir() + "/" + name;
}

Ops first_ops(size_t n)
{
    Ops ops = display_ops();
    ops.resize(std::min(n, ops.size()));
    return ops;
}

}  // namespace

class DecoderSession : public EngineTest {
protected:
    void expect_closed()
    {
        EXPECT_EQ(file_info.decoder, nullptr);
        EXPECT_EQ(file_info.is_playing, 0);
        EXPECT_STREQ(file_info.filename, "");
        EXPECT_EQ(file_info.total_time, 0);
        EXPECT_EQ(file_info.elapsed_time, 0);
        EXPECT_EQ(file_info.percent, 0);
        EXPECT_EQ(audio, 0);
        EXPECT_FALSE(audio_device_is_open());
        const Ops ops = display_ops();
        EXPECT_EQ(Ops(ops.end() - static_cast<long>(std::min<size_t>(3, ops.size())), ops.end()), closing);
    }
};

#define REQUIRE_CORPUS()                                                                                               \
    if (enginetest::corpus_dir().empty())                                                                              \
    GTEST_SKIP() << "the FLAC corpus is not there"

TEST_F(DecoderSession, UnreadablePathStillClosesEverything)
{
    audio_device_open();
    play_file((tree_ / "missing.flac").c_str());
    EXPECT_EQ(display_ops(), closing);
    EXPECT_TRUE(device_bytes().empty());
    expect_closed();
}

// The record holds 4095 characters: a path of exactly that length opens
// whole, a longer one is cut in the record only (and names no file).
TEST_F(DecoderSession, PathsUpTo4095CharactersOpenWholeLongerOnesAreCut)
{
    REQUIRE_CORPUS();
    std::string path = tree_.path();
    while (path.size() + 1 + 200 + 1 + 20 < 4095) {
        path += "/" + std::string(200, 'd');
        ASSERT_EQ(mkdir(path.c_str(), 0700), 0);
    }
    path += "/" + std::string(4095 - path.size() - 1, 'f');
    ASSERT_EQ(path.size(), 4095u);
    std::filesystem::copy_file(corpus_file("subset-01-blocksize-4096.flac"), path);

    ASSERT_EQ(decoder_constructor(path.c_str()), 1);
    EXPECT_EQ(std::string(file_info.filename), path);
    EXPECT_EQ(file_info.is_playing, 1);
    decoder_destructor();
    expect_closed();

    const std::string longer = path + "/" + std::string(5000, 'x') + ".flac";
    EXPECT_EQ(decoder_constructor(longer.c_str()), 0);
    EXPECT_EQ(std::string(file_info.filename), path);
    EXPECT_EQ(file_info.decoder, nullptr);
    EXPECT_EQ(file_info.is_playing, 0);
    decoder_destructor();
    expect_closed();
}

TEST_F(DecoderSession, RecordAndDisplayOverAWholePlay)
{
    REQUIRE_CORPUS();
    audio_device_open();
    play_file(corpus_file("subset-01-blocksize-4096.flac").c_str());

    EXPECT_EQ(first_ops(2), opening);
    EXPECT_EQ(display_calls()[1].total_time, 7);  // 308700 samples at 44100 Hz
    // One refresh per whole second, the bar following the length.
    std::vector<int> percents;
    for (const DisplayCall& c : display_calls())
        if (c.op == "display_elapsed_time")
            percents.push_back(c.percent);
    // The position is a float sum of 4096/44100 per frame: it ends a hair
    // under 7.0, so the seventh second is never reached.
    EXPECT_EQ(percents, (std::vector<int>{14, 28, 42, 57, 71, 85}));
    EXPECT_EQ(device_bytes().size(), 308700u * 4);

    expect_closed();
    // Kept after the close.
    EXPECT_EQ(file_info.sample_rate, 44100);
    EXPECT_EQ(file_info.bits_per_sample, 16);
    EXPECT_EQ(file_info.total_samples, 308700u);
    EXPECT_EQ(file_info.samples_played, 308700u);
    EXPECT_FLOAT_EQ(file_info.length_sec, 7.0f);
    EXPECT_NEAR(file_info.position_sec, 7.0f, 0.001f);
}

// After a 24-bit stream, a stream without STREAMINFO must not be played with
// the width, rate or length of the earlier one.
TEST_F(DecoderSession, NoStreamInfoUsesNothingFromTheSessionBefore)
{
    REQUIRE_CORPUS();
    audio_device_open();
    play_file(corpus_file("subset-63-predictor-overflow-check-24-bit.flac").c_str());
    ASSERT_EQ(file_info.bits_per_sample, 24);

    display_calls().clear();
    tree_.file("dsp");
    audio_device_open();
    play_file(corpus_file("faulty-06-missing-streaminfo-metadata-block.flac").c_str());
    EXPECT_EQ(first_ops(2), opening);
    EXPECT_EQ(display_calls()[1].total_time, 0);
    EXPECT_EQ(file_info.bits_per_sample, 0);
    EXPECT_EQ(file_info.sample_rate, 0);
    EXPECT_EQ(file_info.samples_played, 69743u);
    // Mono at 24000 Hz (from the frames) on the stereo 44100 Hz device.
    EXPECT_NEAR(device_bytes().size() / 4.0, 69743 * 44100.0 / 24000, 2);
    expect_closed();
}

TEST_F(DecoderSession, MetadataOtherThanStreamInfoChangesNothing)
{
    file_info.total_time = 123;
    file_info.sample_rate = 22050;
    file_info.samples_played = 77;
    for (auto type : {FLAC__METADATA_TYPE_VORBIS_COMMENT, FLAC__METADATA_TYPE_SEEKTABLE, FLAC__METADATA_TYPE_PICTURE,
                      FLAC__METADATA_TYPE_PADDING}) {
        FLAC__StreamMetadata m{};
        m.type = type;
        flac_metadata_hdl(nullptr, &m, &file_info);
    }
    EXPECT_EQ(file_info.total_time, 123);
    EXPECT_EQ(file_info.sample_rate, 22050);
    EXPECT_EQ(file_info.samples_played, 77u);
    EXPECT_TRUE(display_calls().empty());
}

TEST_F(DecoderSession, TrackLengthFromStreamInfo)
{
    struct Case {
        uint64_t samples;
        unsigned rate;
        float length;
        int32_t total_time;
    } cases[] = {
        {441000, 44100, 10.0f, 10},
        {44099, 44100, 44099.0f / 44100.0f, 0},
        {0, 44100, 0.0f, 0},                                          // unknown length
        {441000, 0, 0.0f, 0},                                         // no rate: length unknown
        {(uint64_t{1} << 32) + 441000, 44100, 10.0f, 10},             // low 32 bits only
        {uint64_t{1} << 31, 44100, 2147483648.0f / 44100.0f, 48695},  // positive, 13.5 h
        {0xFFFFFFFFu, 1, 4294967296.0f, INT32_MAX},                   // beyond int: saturates
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.samples) + " samples at " + std::to_string(c.rate));
        FLAC__StreamMetadata m{};
        m.type = FLAC__METADATA_TYPE_STREAMINFO;
        m.data.stream_info = {};
        m.data.stream_info.sample_rate = c.rate;
        m.data.stream_info.channels = 2;
        m.data.stream_info.bits_per_sample = 16;
        m.data.stream_info.total_samples = c.samples;
        file_info.position_sec = 3.0f;
        file_info.samples_played = 9;
        display_calls().clear();
        flac_metadata_hdl(nullptr, &m, &file_info);
        EXPECT_FLOAT_EQ(file_info.length_sec, c.length);
        EXPECT_EQ(file_info.total_time, c.total_time);
        EXPECT_EQ(file_info.position_sec, 0.0f);
        EXPECT_EQ(file_info.samples_played, 0u);
        EXPECT_EQ(display_ops(), opening);
    }
}
