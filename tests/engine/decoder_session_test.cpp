// The decoder session on real files: the record and the display over a
// play, a stop, closing after a path that names no file, and the corner
// cases of STREAMINFO. Faulty and unusual streams as a whole are played by
// the lirva-play tests.
#include <sys/stat.h>

#include <FLAC/metadata.h>
#include <FLAC/stream_encoder.h>
#include <decoder_session.h>
#include <now_playing.h>
#include <play_stop.h>
#include <track_tags.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>

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

namespace {

// A short silent FLAC file with the given Vorbis comments ("NAME=value";
// none: no comment block); `patch` may then damage the file's bytes.
std::string write_tagged(const std::string& path, const std::vector<std::string>& comments,
                         const std::function<void(std::string&)>& patch = nullptr)
{
    FLAC__StreamMetadata* block = FLAC__metadata_object_new(FLAC__METADATA_TYPE_VORBIS_COMMENT);
    for (const std::string& c : comments) {
        FLAC__StreamMetadata_VorbisComment_Entry e{static_cast<FLAC__uint32>(c.size()),
                                                   reinterpret_cast<FLAC__byte*>(const_cast<char*>(c.data()))};
        FLAC__metadata_object_vorbiscomment_append_comment(block, e, true);
    }
    FLAC__StreamEncoder* e = FLAC__stream_encoder_new();
    FLAC__stream_encoder_set_channels(e, 2);
    FLAC__stream_encoder_set_bits_per_sample(e, 16);
    FLAC__stream_encoder_set_sample_rate(e, 44100);
    if (!comments.empty())
        FLAC__stream_encoder_set_metadata(e, &block, 1);
    EXPECT_EQ(FLAC__stream_encoder_init_file(e, path.c_str(), nullptr, nullptr), FLAC__STREAM_ENCODER_INIT_STATUS_OK);
    const std::vector<FLAC__int32> silence(2 * 4096);
    FLAC__stream_encoder_process_interleaved(e, silence.data(), 4096);
    FLAC__stream_encoder_finish(e);
    FLAC__stream_encoder_delete(e);
    FLAC__metadata_object_delete(block);
    if (patch) {
        std::string bytes = testsupport::readFile(path);
        patch(bytes);
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    }
    return path;
}

}  // namespace

// The first track line: "artist – title" from the comments as UTF-8, cut
// to 50 characters on a character's boundary, or the file's name without
// ".flac" when there is nothing to show. Megabytes of comments are not
// read, and a damaged block shows the name, not garbage.
TEST_F(DecoderSession, TrackLineFromTheCommentsOrTheFileName)
{
    std::string kanji;
    for (int i = 0; i < 60; ++i)
        kanji += "\u6F22";
    const auto bad_length = [](std::string& b) { b.replace(b.find("ARTIST=") - 4, 4, "\xff\xff\xff\x7f"); };
    const std::vector<std::tuple<const char*, std::vector<std::string>, std::function<void(std::string&)>, std::string>>
        cases = {
            {"plain.flac", {"ARTIST=Nina Simone", "TITLE=Feeling Good"}, nullptr, "Nina Simone \u2013 Feeling Good"},
            {"case.flac", {"title=Only A Title", "Artist="}, nullptr, "Only A Title"},
            {"wide.flac", {"ARTIST=Bj\u00F6rk", "TITLE=J\u00F3ga \U0001F3B5"}, nullptr, "Bj\u00F6rk \u2013 J\u00F3ga \U0001F3B5"},
            {"long.flac", {"TITLE=" + kanji}, nullptr, kanji.substr(0, 50 * 3)},
            {"lines.flac", {"TITLE=two\nlines\t"}, nullptr, "two lines "},
            {"No Comments.FLAC", {}, nullptr, "No Comments"},
            {"huge.flac", {"ARTIST=Far", "TITLE=Too Much", "LYRICS=" + std::string(2 << 20, 'l')}, nullptr, "huge"},
            {"corrupt.flac", {"ARTIST=Broken", "TITLE=Block"}, bad_length, "corrupt"},
        };
    FileInfo none{};
    for (const auto& [name, comments, patch, shown] : cases) {
        const std::string path = write_tagged(tree_ / name, comments, patch);
        TrackTags tags;
        read_track_tags(path.c_str(), tags);
        describe_track(path.c_str(), tags, none, OutputFormat{});
        EXPECT_EQ(now_playing.line1, shown) << name;
    }
}

// The second line: the stream's rate, width and channels, then the
// device's; only the device's when the stream stated none.
TEST_F(DecoderSession, FormatLineShowsTheStreamAndWhatTheDeviceReceives)
{
    const TrackTags tags{};
    const std::tuple<int, int, int, unsigned, unsigned, const char*> cases[] = {
        {96000, 24, 6, 48000, 2, "96 kHz 24 bit 6 ch > 48 kHz 16 bit 2 ch"},
        {44100, 16, 2, 44100, 2, "44.1 kHz 16 bit 2 ch > 44.1 kHz 16 bit 2 ch"},
        {11025, 8, 1, 22050, 1, "11.025 kHz 8 bit 1 ch > 22.05 kHz 16 bit 1 ch"},
        {0, 0, 0, 8000, 2, "8 kHz 16 bit 2 ch"},
    };
    for (const auto& [rate, bits, channels, device_rate, device_channels, shown] : cases) {
        FileInfo stream{};
        stream.sample_rate = rate, stream.bits_per_sample = bits, stream.channels = channels;
        OutputFormat device;
        device.rate = device_rate, device.channels = device_channels;
        describe_track("/x.flac", tags, stream, device);
        EXPECT_STREQ(now_playing.line3, shown);
    }
}
