// The decoder session on real files: the record and the display over a
// play, a stop, closing after a path that names no file, and the corner
// cases of STREAMINFO. Faulty and unusual streams as a whole are played by
// the lirva-play tests.
#include <sys/stat.h>

#include <decoder_session.h>
#include <play_stop.h>

#include <algorithm>
#include <atomic>
#include <filesystem>

#include "engine_fixture.h"
#include "hostile_flac.h"

class DecoderSession : public EngineTest {
protected:
    const std::string file = LIRVA_CORPUS_DIR "/subset-01-blocksize-4096.flac";  // 7 s, 16-bit stereo 44.1 kHz
    std::vector<int> shown;  // the total time when shown, then the percentage at each refresh

    void SetUp() override
    {
        EngineTest::SetUp();
        if (!testsupport::missingCorpus().empty())
            GTEST_SKIP() << testsupport::missingCorpus();
        audio_device_open();
        display_hook = [this](const std::string& op) {
            if (op == "DisplayTotalTime" || op == "display_elapsed_time")
                shown.push_back(op == "DisplayTotalTime" ? file_info.total_time : file_info.percent);
        };
    }
    void expect_closed()
    {
        EXPECT_TRUE(file_info.decoder == nullptr && file_info.filename[0] == '\0' && !audio_device_is_open());
        EXPECT_EQ(file_info.is_playing + file_info.total_time + file_info.elapsed_time + file_info.percent, 0);
        const std::vector<std::string> closing = {"HideElapsedTime", "ResetProgressBar", "HideTotalTime"};
        EXPECT_TRUE(display_ops.size() >= 3 && std::equal(closing.begin(), closing.end(), display_ops.end() - 3))
            << "the display is left busy";
    }
};

// The record holds 4095 characters: a path of exactly that length opens
// whole, a longer one is cut in the record only (and names no file).
TEST_F(DecoderSession, PathsUpTo4095CharactersOpenWholeLongerOnesAreCut)
{
    std::string path = tree_.path();
    for (; path.size() + 222 < 4095; path += "/" + std::string(200, 'd'))
        ASSERT_EQ(mkdir((path + "/" + std::string(200, 'd')).c_str(), 0700), 0);
    path += "/" + std::string(4095 - path.size() - 1, 'f');
    std::filesystem::copy_file(file, path);
    ASSERT_EQ(decoder_constructor(path.c_str()), 1);
    EXPECT_EQ(file_info.filename, path);
    decoder_destructor();
    expect_closed();

    EXPECT_EQ(decoder_constructor((path + "/" + std::string(5000, 'x')).c_str()), 0);
    EXPECT_EQ(file_info.filename, path);
    decoder_destructor();
    expect_closed();
}

// One refresh per whole second, the bar following the length up to its end:
// the file holds exactly 7 seconds.
TEST_F(DecoderSession, RecordAndDisplayOverAWholePlay)
{
    play_file(file.c_str());
    EXPECT_EQ(shown, (std::vector<int>{7, 14, 28, 42, 57, 71, 85, 100}));
    expect_closed();
}

// An hour of 16-sample frames ends on the hour, at 100%: a position summed
// frame by frame in a float ends 18 s late at this rate (and 9 minutes
// early at 44.1 kHz). A low rate keeps the frames few enough for emulated
// test runs; decoded only, with no device to convert for.
TEST_F(DecoderSession, AnHourOfTinyFramesEndsOnTheHour)
{
    const std::string why = make_long_silence(tree_ / "hour.flac", 2000, 16, 3600);
    if (!why.empty())
        GTEST_SKIP() << why;
    audio_device_close();
    int32_t last_elapsed = 0;
    display_hook = [&](const std::string& op) {
        if (op == "DisplayTotalTime" || op == "display_elapsed_time")
            shown.push_back(op == "DisplayTotalTime" ? file_info.total_time : file_info.percent);
        if (op == "display_elapsed_time")
            last_elapsed = file_info.elapsed_time;
    };
    play_file((tree_ / "hour.flac").c_str());
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.front(), 3600);
    EXPECT_EQ(shown.back(), 100);
    EXPECT_EQ(last_elapsed, 3600);
    EXPECT_EQ(file_info.samples_played, 2000u * 3600);
}

// The frame that showed the first second is the last one played.
TEST_F(DecoderSession, AStopRequestEndsThePlayAtTheNextFrame)
{
    std::atomic<bool> stop{false};
    bind_play_stop(&stop);
    display_hook = [&](const std::string& op) { stop = stop || op == "display_elapsed_time"; };
    play_file(file.c_str());
    bind_play_stop(nullptr);
    EXPECT_EQ(file_info.samples_played, 11u * 4096);
    EXPECT_EQ(device_bytes().size(), 11u * 4096 * 4);
    expect_closed();
}

// After a 24-bit stream, a stream without STREAMINFO must not be played with
// the width, rate or length of the earlier one.
TEST_F(DecoderSession, NoStreamInfoUsesNothingFromTheSessionBefore)
{
    play_file(LIRVA_CORPUS_DIR "/subset-63-predictor-overflow-check-24-bit.flac");
    ASSERT_EQ(file_info.bits_per_sample, 24);
    tree_.file("dsp");
    audio_device_open();
    shown.clear();
    play_file(LIRVA_CORPUS_DIR "/faulty-06-missing-streaminfo-metadata-block.flac");
    EXPECT_EQ(shown, (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(file_info.bits_per_sample + file_info.sample_rate, 0);
    // Mono at 24000 Hz (from the frames) on the stereo 44100 Hz device.
    EXPECT_NEAR(device_bytes().size() / 4.0, 69743 * 44100.0 / 24000, 2);
    expect_closed();
}

TEST_F(DecoderSession, TrackLengthFromStreamInfo)
{
    // STREAMINFO's samples and rate, the whole seconds shown.
    for (auto [samples, rate, total_time] : {std::tuple<uint64_t, unsigned, int>{441000, 44100, 10},
                                             {441000, 0, 0},                             // no rate: length unknown
                                             {(uint64_t{1} << 32) + 441000, 44100, 97401},  // 27 hours: 36 bits
                                             {uint64_t{1} << 31, 44100, 48695},          // positive, 13.5 h
                                             {0xFFFFFFFFu, 1, INT32_MAX}}) {             // beyond int: saturates
        FLAC__StreamMetadata m{};
        m.type = FLAC__METADATA_TYPE_STREAMINFO;
        m.data.stream_info = {4096, 4096, 0, 0, rate, 2, 16, samples, {}};
        shown.clear();
        flac_metadata_hdl(nullptr, &m, &file_info);
        EXPECT_EQ(shown, std::vector<int>{total_time}) << samples << " samples at " << rate;
    }
}
