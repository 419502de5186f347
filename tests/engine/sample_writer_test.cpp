// The sample writer: the whole stream reaches the device whatever its rates
// and frame sizes, writes cut short are completed, and the play position
// and display follow the frames.
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include <sample_writer.h>

#include "engine_fixture.h"
#include "open_descriptors.h"

class SampleWriter : public EngineTest { };

// The resampler's state carries across frames and across a change of rate,
// a stream far below the device's rate goes out in several writes per
// frame, and the end of the stream lets out the last samples: the device
// gets the true duration.
TEST_F(SampleWriter, OtherRatesReachTheDeviceAtTheirTrueDuration)
{
    audio_device_open();
    double seconds = 0;
    // Rate, frames, block size.
    const unsigned segments[][3] = {{48000, 12, 4096},
                                    {44100, 3, 4096},
                                    {3000, 1, 65535},
                                    {22050, 7, 1152},
                                    {96000, 5, 4608}};
    for (auto [rate, frames, blocksize] : segments) {
        TestFrame f(2, blocksize, rate);
        for (unsigned n = 0; n < frames; ++n)
            f.write();
        seconds += static_cast<double>(frames) * blocksize / rate;
    }
    flush_sample_writer();
    EXPECT_NEAR(device_bytes().size() / 4.0, seconds * 44100, 3);
}

// The play position in whole seconds, the percentage of the announced
// length, one display refresh per frame that passes a whole second; no
// device is open, and the counters run all the same.
TEST_F(SampleWriter, PositionPercentAndRefreshesFollowTheFrames)
{
    const struct {
        int total_time, blocksize, rate, elapsed, percent, refreshes;
    } cases[] = {
        {0, 65535, 8000, 8, 0, 1},     // seconds skipped: one refresh
        {0, 4096, 0, 0, 0, 0},         // a rate of 0 does not move the position
        {1, 88200, 44100, 2, 200, 1},  // past the announced length
    };
    for (const auto& c : cases) {
        reset_record();
        file_info.total_time = c.total_time;
        EXPECT_EQ(TestFrame(2, c.blocksize, c.rate).write(), FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE);
        EXPECT_EQ(file_info.samples_played, static_cast<uint64_t>(c.blocksize)) << c.blocksize << " at " << c.rate;
        EXPECT_EQ(file_info.elapsed_time, c.elapsed);
        EXPECT_EQ(file_info.percent, c.percent);
        EXPECT_EQ(display_ops, std::vector<std::string>(static_cast<size_t>(c.refreshes), "display_elapsed_time"));
    }
}

// Long plays end at their true length: an hour of 4096-sample frames at
// 44.1 kHz, and 129 s of one-sample frames at 192 kHz (a position summed in
// a float ends 1.5 s short, or stops at 128 s). The clock carries a
// part-second across a change of rate.
TEST_F(SampleWriter, TheClockKeepsTheTrueLengthOverLongPlays)
{
    const struct {
        unsigned rate, blocksize, seconds;
    } cases[] = {{44100, 4096, 3600}, {192000, 1, 129}};
    for (const auto& c : cases) {
        reset_record();
        file_info.total_time = static_cast<int32_t>(c.seconds);
        TestFrame f(1, c.blocksize, c.rate);
        const uint64_t frames = uint64_t{c.rate} * c.seconds / c.blocksize;
        for (uint64_t n = 0; n < frames; ++n)
            f.write();
        const double played = static_cast<double>(frames * c.blocksize) / c.rate;
        EXPECT_EQ(file_info.elapsed_time, static_cast<int32_t>(played)) << c.blocksize << " at " << c.rate;
        EXPECT_NEAR(file_info.position_sec, played, 0.01);
        EXPECT_EQ(file_info.percent, static_cast<int32_t>(played) * 100 / static_cast<int32_t>(c.seconds));
    }
    // Half a second at 44.1 kHz, then half a second at 48 kHz: one second.
    reset_record();
    TestFrame(1, 22050, 44100).write();
    TestFrame(1, 24000, 48000).write();
    EXPECT_EQ(file_info.elapsed_time, 1);
    EXPECT_EQ(file_info.clock.samples, 0u);
}

// A pipe as the device, read slowly, with signals (no SA_RESTART) hitting
// the writing thread: write() returns partial counts and EINTR, and the
// writer sends the rest of the frame, in order.
TEST_F(SampleWriter, InterruptedWritesAreCompleted)
{
    const std::string fifo = tree_ / "fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    audio_device_path = fifo.c_str();
    ASSERT_TRUE(audio_device_open());
    struct sigaction action {
    }, old{};
    action.sa_handler = [](int) {};
    sigaction(SIGUSR2, &action, &old);

    TestFrame f(2, 65535, 44100);
    std::string want, got;
    for (unsigned i = 0; i < 65535; ++i) {
        f.planes[0][i] = static_cast<int16_t>(i);
        f.planes[1][i] = static_cast<int16_t>(~i);
        want += {static_cast<char>(i >> 8), static_cast<char>(i), static_cast<char>(~i >> 8), static_cast<char>(~i)};
    }
    std::atomic<bool> done{false};
    std::thread writer([&] {
        f.write();
        done = true;
    });
    for (bool finished = false; !finished;) {
        finished = done;
        if (!finished)
            pthread_kill(writer.native_handle(), SIGUSR2);
        char chunk[1000];
        for (ssize_t n; (n = read(reader, chunk, sizeof chunk)) > 0;)
            got.append(chunk, static_cast<size_t>(n));
        std::this_thread::sleep_for(std::chrono::microseconds(200));  // a slow reader, not a verdict
    }
    writer.join();
    sigaction(SIGUSR2, &old, nullptr);
    close(reader);
    EXPECT_EQ(got, want);
}

// Opening and closing the device leaks no descriptor and never closes one
// it does not hold.
TEST_F(SampleWriter, TheDeviceLeaksNoDescriptorAndNeverClosesDescriptorZero)
{
    const int before = open_descriptors();
    audio_device_open();
    audio_device_open();  // the earlier descriptor is not left behind
    EXPECT_EQ(open_descriptors(), before + 1);
    const int fd = audio;
    audio_device_close();
    EXPECT_EQ(fcntl(fd, F_GETFD), -1);
    audio_device_close();  // nothing open: descriptor 0 (audio's value) stays
    EXPECT_NE(fcntl(0, F_GETFD), -1);
    EXPECT_EQ(open_descriptors(), before);
}
