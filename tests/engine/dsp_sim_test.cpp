// The simulated OSS device, loaded with dlopen and called through its own
// entry points (as a preloaded process would call them).
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <fcntl.h>
#include <linux/soundcard.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "engine_test_support.h"

namespace {

struct Sim {
    void* lib = dlopen(LIRVA_DSP_SIM, RTLD_NOW | RTLD_LOCAL);
    int (*open)(const char*, int, ...) = nullptr;
    int (*ioctl)(int, unsigned long, ...) = nullptr;
    ssize_t (*write)(int, const void*, size_t) = nullptr;
    int (*close)(int) = nullptr;

    Sim()
    {
        if (lib == nullptr)
            return;
        open = reinterpret_cast<decltype(open)>(dlsym(lib, "open"));
        ioctl = reinterpret_cast<decltype(ioctl)>(dlsym(lib, "ioctl"));
        write = reinterpret_cast<decltype(write)>(dlsym(lib, "write"));
        close = reinterpret_cast<decltype(close)>(dlsym(lib, "close"));
    }
};

Sim& sim()
{
    static Sim s;
    return s;
}

class DspSim : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(sim().lib, nullptr) << dlerror();
        setenv("LIRVA_DSP_LOG", dir_.file("log").c_str(), 1);
        setenv("LIRVA_DSP_SPEED", "0", 1);
        unsetenv("LIRVA_DSP_CAPTURE");
    }
    void TearDown() override
    {
        unsetenv("LIRVA_DSP_LOG");
        unsetenv("LIRVA_DSP_SPEED");
        unsetenv("LIRVA_DSP_CAPTURE");
    }

    std::vector<std::string> log_lines()
    {
        std::ifstream in(dir_.file("log"));
        std::vector<std::string> lines;
        std::string line;
        while (std::getline(in, line))
            lines.push_back(line);
        return lines;
    }

    enginetest::TempDir dir_;
};

std::vector<uint8_t> bytes(std::initializer_list<int> list)
{
    std::vector<uint8_t> v;
    for (int b : list)
        v.push_back(static_cast<uint8_t>(b));
    return v;
}

}  // namespace

TEST_F(DspSim, LogsOpenSettingsAndCloseInOrder)
{
    int fd = sim().open("/dev/dsp", O_WRONLY);
    ASSERT_GE(fd, 0);
    int format = AFMT_S16_BE, stereo = 2, speed = 44100;
    EXPECT_EQ(sim().ioctl(fd, SNDCTL_DSP_SETFMT, &format), 0);
    EXPECT_EQ(sim().ioctl(fd, SNDCTL_DSP_STEREO, &stereo), 0);
    EXPECT_EQ(sim().ioctl(fd, SNDCTL_DSP_SPEED, &speed), 0);
    EXPECT_EQ(format, AFMT_S16_BE);
    EXPECT_EQ(stereo, 1);   // accepted as "stereo", as a driver answers
    EXPECT_EQ(speed, 44100);
    EXPECT_EQ(sim().write(fd, "abcd", 4), 4);
    EXPECT_EQ(sim().close(fd), 0);

    // The descriptor was real and is closed now.
    EXPECT_EQ(fcntl(fd, F_GETFD), -1);
    EXPECT_EQ(log_lines(), (std::vector<std::string>{"open O_WRONLY", "ioctl SETFMT 32", "ioctl STEREO 2",
                                                     "ioctl SPEED 44100", "close bytes=4 writes=1"}));
}

TEST_F(DspSim, CreatingFlagsShowInTheLog)
{
    int fd = sim().open("/dev/dsp", O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    sim().close(fd);
    EXPECT_EQ(log_lines().at(0), "open O_WRONLY|O_CREAT");
}

TEST_F(DspSim, OtherPathsAreLeftAlone)
{
    std::string path = dir_.file("plain");
    int fd = sim().open(path.c_str(), O_WRONLY | O_CREAT, 0600);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(sim().write(fd, "xyz", 3), 3);
    EXPECT_EQ(sim().close(fd), 0);
    EXPECT_EQ(enginetest::read_file(path), bytes({'x', 'y', 'z'}));
    EXPECT_EQ(sim().open("/dev/dsp1", O_WRONLY), -1);
    EXPECT_TRUE(log_lines().empty());
}

TEST_F(DspSim, RawCaptureHoldsExactlyTheLastPlay)
{
    std::string capture = dir_.file("play.raw");
    setenv("LIRVA_DSP_CAPTURE", capture.c_str(), 1);
    int fd = sim().open("/dev/dsp", O_WRONLY);
    sim().write(fd, "\x01\x02\x03", 3);
    sim().write(fd, "\x04\x05", 2);
    sim().close(fd);
    EXPECT_EQ(enginetest::read_file(capture), bytes({1, 2, 3, 4, 5}));

    fd = sim().open("/dev/dsp", O_WRONLY);
    sim().write(fd, "\x09", 1);
    sim().close(fd);
    EXPECT_EQ(enginetest::read_file(capture), bytes({9}));
}

TEST_F(DspSim, WavCaptureIsLittleEndianPcmWithItsHeader)
{
    std::string capture = dir_.file("play.wav");
    setenv("LIRVA_DSP_CAPTURE", capture.c_str(), 1);
    int fd = sim().open("/dev/dsp", O_WRONLY);
    int format = AFMT_S16_BE, stereo = 2, speed = 22050;
    sim().ioctl(fd, SNDCTL_DSP_SETFMT, &format);
    sim().ioctl(fd, SNDCTL_DSP_STEREO, &stereo);
    sim().ioctl(fd, SNDCTL_DSP_SPEED, &speed);
    sim().write(fd, "\x01\x02\xFF", 3);   // a sample split across writes
    sim().write(fd, "\xFE\x00\x01\x00\x00", 5);
    // Readable before the close too: the header is kept up to date.
    std::vector<uint8_t> wav = enginetest::read_file(capture);
    sim().close(fd);
    ASSERT_EQ(wav.size(), 44u + 8);
    EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
    EXPECT_EQ(wav[4], 36 + 8);
    EXPECT_EQ(std::string(wav.begin() + 8, wav.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(wav[22], 2);                    // channels
    EXPECT_EQ(wav[24] | wav[25] << 8, 22050);  // rate
    EXPECT_EQ(wav[34], 16);                   // bits
    EXPECT_EQ(std::string(wav.begin() + 36, wav.begin() + 40), "data");
    EXPECT_EQ(wav[40], 8);
    EXPECT_EQ(std::vector<uint8_t>(wav.begin() + 44, wav.end()),
              bytes({0x02, 0x01, 0xFE, 0xFF, 0x01, 0x00, 0x00, 0x00}));
}

TEST_F(DspSim, PacesLikeTheDeviceTimesTheSpeedFactor)
{
    setenv("LIRVA_DSP_SPEED", "10", 1);
    int fd = sim().open("/dev/dsp", O_WRONLY);
    std::vector<uint8_t> tenth(17640);   // 0.1 s of 16-bit stereo at 44100 Hz
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 10; ++i)
        ASSERT_EQ(sim().write(fd, tenth.data(), tenth.size()), 17640);
    auto took = std::chrono::steady_clock::now() - start;
    sim().close(fd);
    // 1 s of audio at ten times real time.
    EXPECT_GE(took, std::chrono::milliseconds(98));
    EXPECT_LT(took, std::chrono::milliseconds(300));
}

TEST_F(DspSim, UnpacedTakesEverythingAtOnce)
{
    int fd = sim().open("/dev/dsp", O_WRONLY);
    std::vector<uint8_t> minute(176400 * 60);
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(sim().write(fd, minute.data(), minute.size()), static_cast<ssize_t>(minute.size()));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
    sim().close(fd);
}

// A signal during a paced write ends it early with what has played: a
// partial count in whole 4-byte frames, which the capture holds too.
TEST_F(DspSim, SignalCutsAPacedWriteShort)
{
    setenv("LIRVA_DSP_SPEED", "1", 1);
    std::string capture = dir_.file("play.raw");
    setenv("LIRVA_DSP_CAPTURE", capture.c_str(), 1);
    struct sigaction action {}, old {};
    action.sa_handler = [](int) {};   // no SA_RESTART
    sigaction(SIGUSR2, &action, &old);

    int fd = sim().open("/dev/dsp", O_WRONLY);
    std::vector<uint8_t> two_seconds(176400 * 2);
    ssize_t written = 0;
    std::thread writer([&] { written = sim().write(fd, two_seconds.data(), two_seconds.size()); });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    auto start = std::chrono::steady_clock::now();
    pthread_kill(writer.native_handle(), SIGUSR2);
    writer.join();
    auto took = std::chrono::steady_clock::now() - start;
    sigaction(SIGUSR2, &old, nullptr);
    sim().close(fd);

    EXPECT_LT(took, std::chrono::milliseconds(50));
    EXPECT_GT(written, 176400 / 20);        // about 0.1 s had played
    EXPECT_LT(written, 176400 / 2);
    EXPECT_EQ(written % 4, 0);
    EXPECT_EQ(enginetest::read_file(capture).size(), static_cast<size_t>(written));
}
