// The sample writer: bytes to the device, play position, display refresh,
// and its behaviour when the device write is cut short or stopped.
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ethread.h>

#include <atomic>
#include <chrono>
#include <thread>

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

// Frame index (1-based) of the first display refresh, with frames of
// `blocksize` samples at `rate`.
int frame_of_first_second(unsigned blocksize, unsigned rate)
{
    TestFrame f(2, blocksize, rate);
    for (int frame = 1; frame <= 100; ++frame) {
        f.write();
        if (display_refreshes() > 0)
            return frame;
    }
    return -1;
}

}  // namespace

class SampleWriter : public EngineTest {};

TEST_F(SampleWriter, StereoFrameReachesTheDeviceAsBigEndianBytes)
{
    audio_device_open();
    TestFrame f(2, 2, 44100);
    f.planes[0] = {258, 1};
    f.planes[1] = {-2, 0};
    EXPECT_EQ(f.write(), FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE);
    EXPECT_EQ(device_bytes(), (std::vector<uint8_t>{0x01, 0x02, 0xFF, 0xFE, 0x00, 0x01, 0x00, 0x00}));
    EXPECT_EQ(file_info.samples_played, 2u);
}

TEST_F(SampleWriter, MonoFrameIsWrittenOnceInOrder)
{
    audio_device_open();
    TestFrame f(1, 5, 44100);
    f.planes[0] = {1, -1, 2, -2, 0x1234};
    f.write();
    EXPECT_EQ(device_bytes(),
              (std::vector<uint8_t>{0x00, 0x01, 0xFF, 0xFF, 0x00, 0x02, 0xFF, 0xFE, 0x12, 0x34}));
}

TEST_F(SampleWriter, EveryChannelCountAndWidthAtOddSizes)
{
    audio_device_open();
    std::vector<uint8_t> want;
    for (int bits : {8, 12, 16, 20, 24, 32}) {
        for (unsigned channels = 1; channels <= 8; ++channels) {
            TestFrame f(channels, 509, 44100, static_cast<unsigned>(bits));
            for (unsigned c = 0; c < channels; ++c)
                for (unsigned i = 0; i < 509; ++i)
                    f.planes[c][i] = static_cast<int32_t>((i * 2654435761u + c * 40503u) >> (32 - bits))
                        - (bits == 32 ? 0 : (1 << (bits - 1)));
            f.write();
            for (unsigned i = 0; i < 509; ++i)
                for (unsigned c = 0; c < channels; ++c)
                    push_be16(want, expected_16(f.planes[c][i], bits));
        }
    }
    EXPECT_EQ(device_bytes(), want);
}

TEST_F(SampleWriter, LargestFrameOfEightChannelsFitsWhole)
{
    audio_device_open();
    TestFrame f(8, 65535, 44100, 32);
    for (unsigned c = 0; c < 8; ++c)
        f.planes[c].assign(65535, static_cast<int32_t>(0x7FFFFFFF - c));
    f.write();
    std::vector<uint8_t> bytes = device_bytes();
    ASSERT_EQ(bytes.size(), 65535u * 8 * 2);
    EXPECT_EQ(bytes[0], 0x7F);
    EXPECT_EQ(bytes.back(), 0xFF);
}

TEST_F(SampleWriter, FirstWholeSecondComesOnTheRightFrame)
{
    EXPECT_EQ(frame_of_first_second(4608, 44100), 10);
    EXPECT_EQ(file_info.elapsed_time, 1);
    EXPECT_EQ(display_refreshes(), 1);

    reset_record();
    display_calls().clear();
    EXPECT_EQ(frame_of_first_second(4096, 44100), 11);
}

TEST_F(SampleWriter, LongFrameSkipsSecondsWithOneRefresh)
{
    TestFrame f(1, 65535, 8000);
    f.write();
    EXPECT_EQ(file_info.elapsed_time, 8);
    EXPECT_EQ(display_refreshes(), 1);
    EXPECT_FLOAT_EQ(file_info.position_sec, 65535.0f / 8000.0f);
}

TEST_F(SampleWriter, PercentOfTheAnnouncedLength)
{
    file_info.total_time = 200;
    file_info.elapsed_time = 29;
    file_info.position_sec = 29.5f;
    TestFrame(2, 22050, 44100).write();
    EXPECT_EQ(file_info.elapsed_time, 30);
    EXPECT_EQ(file_info.percent, 15);

    reset_record();
    file_info.total_time = 7;
    TestFrame(2, 44100, 44100).write();
    EXPECT_EQ(file_info.percent, 14);

    // Past the announced length the percentage goes on past 100.
    reset_record();
    file_info.total_time = 1;
    TestFrame(2, 44100 * 2, 44100).write();
    EXPECT_EQ(file_info.percent, 200);
}

TEST_F(SampleWriter, UnknownLengthKeepsTheBarAtZeroWhileTimeCounts)
{
    file_info.total_time = 0;
    TestFrame f(2, 44100, 44100);
    f.write();
    f.write();
    EXPECT_EQ(file_info.elapsed_time, 2);
    EXPECT_EQ(file_info.percent, 0);
    EXPECT_EQ(display_refreshes(), 2);
}

TEST_F(SampleWriter, FrameRateOfZeroDoesNotMoveThePosition)
{
    TestFrame(2, 4096, 0).write();
    EXPECT_EQ(file_info.samples_played, 4096u);
    EXPECT_EQ(file_info.position_sec, 0.0f);
    EXPECT_EQ(file_info.elapsed_time, 0);
}

TEST_F(SampleWriter, FortyEightKilohertzAdvancesByItsOwnRate)
{
    TestFrame(2, 48000, 48000).write();
    EXPECT_FLOAT_EQ(file_info.position_sec, 1.0f);
    EXPECT_EQ(file_info.elapsed_time, 1);
}

TEST_F(SampleWriter, WithoutADeviceTheCountersStillRun)
{
    audio_device_path = "/nonexistent/lirva/dsp";
    audio_device_open();
    EXPECT_EQ(audio, -1);
    TestFrame f(2, 44100, 44100);
    EXPECT_EQ(f.write(), FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE);
    EXPECT_EQ(file_info.samples_played, 44100u);
    EXPECT_EQ(file_info.elapsed_time, 1);
}

// A pipe as the device, read slowly, with signals (no SA_RESTART) hitting the
// writing thread: write() returns partial counts and EINTR, and the writer
// must send the rest of the frame, in order.
TEST_F(SampleWriter, InterruptedWritesAreCompleted)
{
    std::string fifo = dir_.file("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    audio_device_path = fifo.c_str();
    audio_device_open();
    ASSERT_GE(audio, 0);

    struct sigaction action {}, old {};
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

// A stop requested while the device write blocks: the writer gives up the
// frame and asks libFLAC to abort.
TEST_F(SampleWriter, StopDuringABlockedWriteAbortsPromptly)
{
    std::string fifo = dir_.file("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);   // never read
    ASSERT_GE(reader, 0);
    audio_device_path = fifo.c_str();

    struct Writer : eThread {
        std::atomic<int> status{-1};
        std::atomic<bool> writing{false};
        void thread() override
        {
            audio_device_open();
            TestFrame f(2, 65535, 44100);
            writing = true;
            status = f.write();
        }
    } t;
    t.run(0, 0);
    while (!t.writing)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));   // into the blocked write
    auto start = std::chrono::steady_clock::now();
    t.kill(true);
    auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(t.status, FLAC__STREAM_DECODER_WRITE_STATUS_ABORT);
    EXPECT_LT(took, std::chrono::milliseconds(100));
    EXPECT_EQ(file_info.samples_played, 0u);
    close(reader);
}
