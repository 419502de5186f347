// The sample writer: bytes to the device, play position, display refresh,
// and a device write cut short. A stop inside a blocked write is covered by
// the plug-in's play control tests.
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include <sample_writer.h>

#include "writer_fixture.h"

using enginetest::expected_16;
using enginetest::push_be16;

namespace {

int display_refreshes()
{
    int n = 0;
    for (const DisplayCall& c : display_calls())
        n += c.op == "display_elapsed_time";
    return n;
}

}  // namespace

class SampleWriter : public EngineTest { };

TEST_F(SampleWriter, FramesReachTheDeviceAsBigEndianBytesInChannelOrder)
{
    audio_device_open();
    TestFrame stereo(2, 2, 44100);
    stereo.planes[0] = {258, 1};
    stereo.planes[1] = {-2, 0};
    EXPECT_EQ(stereo.write(), FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE);
    TestFrame mono(1, 3, 44100);
    mono.planes[0] = {-1, 2, 0x1234};
    mono.write();
    EXPECT_EQ(device_bytes(), (std::vector<uint8_t>{0x01, 0x02, 0xFF, 0xFE, 0x00, 0x01, 0x00, 0x00,  //
                                                    0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x02, 0x00, 0x02,  //
                                                    0x12, 0x34, 0x12, 0x34}));
    EXPECT_EQ(file_info.samples_played, 5u);
}

// Mono and stereo of up to 16 bits reach the stereo device exactly; more
// channels are mixed to stereo: one stereo frame per input frame.
TEST_F(SampleWriter, EveryChannelCountAndNarrowWidthAtOddSizes)
{
    audio_device_open();
    size_t frames = 0;
    std::vector<uint8_t> want;
    for (int bits : {8, 12, 16}) {
        for (unsigned channels = 1; channels <= 8; ++channels) {
            TestFrame f(channels, 509, 44100, static_cast<unsigned>(bits));
            for (unsigned c = 0; c < channels; ++c)
                for (unsigned i = 0; i < 509; ++i)
                    f.planes[c][i] =
                        static_cast<int32_t>((i * 2654435761u + c * 40503u) >> (32 - bits)) - (1 << (bits - 1));
            f.write();
            frames += 509;
            if (channels > 2)
                continue;
            std::vector<uint8_t> bytes = device_bytes();
            bytes.erase(bytes.begin(), bytes.end() - 509 * 4);
            want.clear();
            for (unsigned i = 0; i < 509; ++i)
                for (unsigned c = 0; c < 2; ++c)
                    push_be16(want, expected_16(f.planes[channels == 2 ? c : 0][i], bits));
            EXPECT_EQ(bytes, want) << bits << " bits, " << channels << " channels";
        }
    }
    EXPECT_EQ(device_bytes().size(), frames * 4);
}

// Frames may be larger than STREAMINFO announces (faulty-01): the writer's
// buffer must take the largest frame there can be, and eight channels at
// full scale mix to stereo without wrapping.
TEST_F(SampleWriter, LargestFrameOfEightChannelsFitsWhole)
{
    audio_device_open();
    TestFrame f(8, 65535, 44100, 32);
    for (unsigned c = 0; c < 8; ++c)
        f.planes[c].assign(65535, static_cast<int32_t>(0x7FFFFFFF - c));
    EXPECT_EQ(f.write(), FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE);
    std::vector<uint8_t> bytes = device_bytes();
    ASSERT_EQ(bytes.size(), 65535u * 4);
    for (size_t i = 0; i < bytes.size(); i += 2)
        ASSERT_GE(static_cast<int16_t>(bytes[i] << 8 | bytes[i + 1]), 16000) << "at byte " << i;
}

// A stream at another rate: the resampler's state carries across frames
// and across a change of rate, and the end of the stream lets out its
// last samples, so the device gets the true duration.
TEST_F(SampleWriter, OtherRatesReachTheDeviceAtTheirTrueDuration)
{
    audio_device_open();
    const struct {
        unsigned rate, frames, blocksize;
    } segments[] = {{48000, 12, 4096}, {22050, 7, 1152}, {96000, 5, 4608}, {44100, 3, 4096}};
    double seconds = 0;
    for (const auto& seg : segments) {
        TestFrame f(2, seg.blocksize, seg.rate);
        for (unsigned n = 0; n < seg.frames; ++n)
            f.write();
        seconds += static_cast<double>(seg.frames) * seg.blocksize / seg.rate;
    }
    flush_sample_writer();
    EXPECT_NEAR(device_bytes().size() / 4.0, seconds * 44100, 3);
}

// The play position in whole seconds, the percentage of the announced length
// and one display refresh per frame that grows the whole second.
TEST_F(SampleWriter, PositionPercentAndRefreshes)
{
    struct Case {
        const char* what;
        int32_t total_time, elapsed_before;
        float position_before;
        unsigned blocksize, rate, frames;
        int32_t elapsed, percent;
        int refreshes;
    } cases[] = {
        {"9 frames of 4608 stay under a second", 0, 0, 0, 4608, 44100, 9, 0, 0, 0},
        {"the 10th frame of 4608 reaches it", 0, 0, 0, 4608, 44100, 10, 1, 0, 1},
        {"10 frames of 4096 stay under a second", 0, 0, 0, 4096, 44100, 10, 0, 0, 0},
        {"the 11th frame of 4096 reaches it", 0, 0, 0, 4096, 44100, 11, 1, 0, 1},
        {"65535 at 8000 Hz skips seconds with one refresh", 0, 0, 0, 65535, 8000, 1, 8, 0, 1},
        {"48 kHz advances by its own rate", 0, 0, 0, 48000, 48000, 1, 1, 0, 1},
        {"rate 0 does not move the position", 0, 0, 0, 4096, 0, 1, 0, 0, 0},
        {"unknown length: bar at 0, time counts", 0, 0, 0, 44100, 44100, 2, 2, 0, 2},
        {"1 s of 7 s", 7, 0, 0, 44100, 44100, 1, 1, 14, 1},
        {"30 s of 200 s", 200, 29, 29.5f, 22050, 44100, 1, 30, 15, 1},
        {"past the length beyond 100", 1, 0, 0, 88200, 44100, 1, 2, 200, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        reset_record();
        display_calls().clear();
        file_info.total_time = c.total_time;
        file_info.elapsed_time = c.elapsed_before;
        file_info.position_sec = c.position_before;
        TestFrame f(2, c.blocksize, c.rate);
        for (unsigned i = 0; i < c.frames; ++i)
            f.write();
        EXPECT_EQ(file_info.samples_played, c.blocksize * c.frames);
        EXPECT_EQ(file_info.elapsed_time, c.elapsed);
        EXPECT_EQ(file_info.percent, c.percent);
        EXPECT_EQ(display_refreshes(), c.refreshes);
        if (c.frames == 1 && c.elapsed_before == 0) {
            EXPECT_FLOAT_EQ(file_info.position_sec, c.rate ? static_cast<float>(c.blocksize) / c.rate : 0.0f);
        }
    }
}

TEST_F(SampleWriter, WithoutADeviceTheCountersStillRun)
{
    audio_device_path = "/nonexistent/lirva/dsp";
    audio_device_open();
    EXPECT_EQ(audio, -1);
    EXPECT_EQ(TestFrame(2, 44100, 44100).write(), FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE);
    EXPECT_EQ(file_info.samples_played, 44100u);
    EXPECT_EQ(file_info.elapsed_time, 1);
}

// A pipe as the device, read slowly, with signals (no SA_RESTART) hitting the
// writing thread: write() returns partial counts and EINTR, and the writer
// must send the rest of the frame, in order.
TEST_F(SampleWriter, InterruptedWritesAreCompleted)
{
    const std::string fifo = tree_ / "fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    audio_device_path = fifo.c_str();
    audio_device_open();
    ASSERT_GE(audio, 0);

    struct sigaction action {
    }, old{};
    action.sa_handler = [](int) {};
    sigaction(SIGUSR2, &action, &old);

    TestFrame f(2, 65535, 44100);
    for (unsigned i = 0; i < 65535; ++i) {
        f.planes[0][i] = static_cast<int16_t>(i);
        f.planes[1][i] = static_cast<int16_t>(~i);
    }
    std::atomic<bool> done{false};
    std::thread writer([&] {
        f.write();
        done = true;
    });

    std::vector<uint8_t> got;
    uint8_t chunk[1000];
    pthread_t tid = writer.native_handle();
    for (;;) {
        const bool finished = done;
        if (!finished)
            pthread_kill(tid, SIGUSR2);
        ssize_t n = read(reader, chunk, sizeof chunk);
        if (n > 0)
            got.insert(got.end(), chunk, chunk + n);
        else if (finished)
            break;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    writer.join();
    sigaction(SIGUSR2, &old, nullptr);
    close(reader);

    std::vector<uint8_t> want;
    for (unsigned i = 0; i < 65535; ++i) {
        push_be16(want, f.planes[0][i]);
        push_be16(want, f.planes[1][i]);
    }
    EXPECT_EQ(got, want);
}
