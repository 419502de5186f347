// The simulated OSS device, loaded with dlopen and called through its own
// entry points (as a preloaded process would call them). Its log of the
// settings, and playing through it, are checked by the corpus tests.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <fcntl.h>
#include <linux/soundcard.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "engine_test_support.h"
#include "temp_tree.h"

namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

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
        setenv("LIRVA_DSP_SPEED", "0", 1);
        setenv("LIRVA_DSP_CAPTURE", capture_.c_str(), 1);
    }
    void TearDown() override
    {
        unsetenv("LIRVA_DSP_SPEED");
        unsetenv("LIRVA_DSP_CAPTURE");
        unsetenv("LIRVA_DSP_FAIL");
    }

    // One play: open, the given rate, the writes, close.
    void play(std::initializer_list<std::string> writes, int speed = 44100)
    {
        int fd = sim().open("/dev/dsp", O_WRONLY);
        ASSERT_GE(fd, 0);
        int format = AFMT_S16_BE, stereo = 2;
        sim().ioctl(fd, SNDCTL_DSP_SETFMT, &format);
        sim().ioctl(fd, SNDCTL_DSP_STEREO, &stereo);
        sim().ioctl(fd, SNDCTL_DSP_SPEED, &speed);
        for (const std::string& w : writes)
            EXPECT_EQ(sim().write(fd, w.data(), w.size()), static_cast<ssize_t>(w.size()));
        beforeClose_ = enginetest::read_file(capture_);
        EXPECT_EQ(sim().close(fd), 0);
        EXPECT_EQ(fcntl(fd, F_GETFD), -1);
    }

    TempTree tree_;
    std::string capture_ = tree_ / "play.raw";
    std::vector<uint8_t> beforeClose_;
};

}  // namespace

TEST_F(DspSim, EveryOpenEntryPointGivesTheDevice)
{
    // 32-bit programs with large-file support call the 64-bit family, the
    // others the plain one; fortified builds call the __*_2 forms.
    using Open = int (*)(const char*, int, ...);
    using Open2 = int (*)(const char*, int);
    using OpenAt = int (*)(int, const char*, int, ...);
    using OpenAt2 = int (*)(int, const char*, int);
    struct Entry {
        const char* name;
        int (*call)(void* fn);
    };
    const Entry entries[] = {
        {"open", [](void* fn) { return reinterpret_cast<Open>(fn)("/dev/dsp", O_WRONLY); }},
        {"open64", [](void* fn) { return reinterpret_cast<Open>(fn)("/dev/dsp", O_WRONLY); }},
        {"__open_2", [](void* fn) { return reinterpret_cast<Open2>(fn)("/dev/dsp", O_WRONLY); }},
        {"__open64_2", [](void* fn) { return reinterpret_cast<Open2>(fn)("/dev/dsp", O_WRONLY); }},
        {"openat", [](void* fn) { return reinterpret_cast<OpenAt>(fn)(AT_FDCWD, "/dev/dsp", O_WRONLY); }},
        {"openat64", [](void* fn) { return reinterpret_cast<OpenAt>(fn)(AT_FDCWD, "/dev/dsp", O_WRONLY); }},
        {"__openat_2", [](void* fn) { return reinterpret_cast<OpenAt2>(fn)(AT_FDCWD, "/dev/dsp", O_WRONLY); }},
        {"__openat64_2", [](void* fn) { return reinterpret_cast<OpenAt2>(fn)(AT_FDCWD, "/dev/dsp", O_WRONLY); }},
    };
    for (const Entry& entry : entries) {
        void* fn = dlsym(sim().lib, entry.name);
        ASSERT_NE(fn, nullptr) << entry.name;
        int fd = entry.call(fn);
        ASSERT_GE(fd, 0) << entry.name;
        const std::string bytes = entry.name;
        EXPECT_EQ(sim().write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size())) << entry.name;
        EXPECT_EQ(sim().close(fd), 0) << entry.name;
        const std::vector<uint8_t> captured = enginetest::read_file(capture_);
        EXPECT_EQ(std::string(captured.begin(), captured.end()), bytes) << entry.name << " did not open the device";
    }
}

// Asked to, the device fails its open as a busy one, or every write as a
// broken one; the bytes of a failed write are not played.
TEST_F(DspSim, FailsItsOpenOrEveryWriteWhenAsked)
{
    setenv("LIRVA_DSP_FAIL", "open", 1);
    errno = 0;
    EXPECT_EQ(sim().open("/dev/dsp", O_WRONLY), -1);
    EXPECT_EQ(errno, EBUSY);

    setenv("LIRVA_DSP_FAIL", "write", 1);
    const int fd = sim().open("/dev/dsp", O_WRONLY);
    ASSERT_GE(fd, 0);
    errno = 0;
    EXPECT_EQ(sim().write(fd, "\x01\x02", 2), -1);
    EXPECT_EQ(errno, EIO);
    EXPECT_EQ(sim().close(fd), 0);
    EXPECT_TRUE(enginetest::read_file(capture_).empty());
}

TEST_F(DspSim, RawCaptureHoldsExactlyTheLastPlay)
{
    play({"\x01\x02\x03", "\x04\x05"});
    EXPECT_EQ(enginetest::read_file(capture_), (std::vector<uint8_t>{1, 2, 3, 4, 5}));
    play({"\x09"});
    EXPECT_EQ(enginetest::read_file(capture_), std::vector<uint8_t>{9});
}

// The samples once overwrote the header: they must follow it.
TEST_F(DspSim, WavCaptureIsLittleEndianPcmAfterItsHeader)
{
    capture_ = tree_ / "play.wav";
    setenv("LIRVA_DSP_CAPTURE", capture_.c_str(), 1);
    play({std::string("\x01\x02\xFF", 3), std::string("\xFE\x00\x01\x00\x00", 5)}, 22050);   // a sample split
    // Readable before the close too: the header is kept up to date.
    const std::vector<uint8_t>& wav = beforeClose_;
    ASSERT_EQ(wav.size(), 44u + 8);
    EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
    EXPECT_EQ(wav[4], 36 + 8);
    EXPECT_EQ(std::string(wav.begin() + 8, wav.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(wav[22], 2);                     // channels
    EXPECT_EQ(wav[24] | wav[25] << 8, 22050);  // rate
    EXPECT_EQ(wav[34], 16);                    // bits
    EXPECT_EQ(std::string(wav.begin() + 36, wav.begin() + 40), "data");
    EXPECT_EQ(wav[40], 8);
    EXPECT_EQ(std::vector<uint8_t>(wav.begin() + 44, wav.end()),
              (std::vector<uint8_t>{0x02, 0x01, 0xFE, 0xFF, 0x01, 0x00, 0x00, 0x00}));
}

TEST_F(DspSim, PacesLikeTheDeviceTimesTheSpeedFactorOrNotAtAll)
{
    const struct {
        const char* speed;
        int seconds;
        milliseconds least, most;
    } cases[] = {{"10", 1, milliseconds(98), milliseconds(300)}, {"0", 60, milliseconds(0), milliseconds(200)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("speed ") + c.speed);
        setenv("LIRVA_DSP_SPEED", c.speed, 1);
        int fd = sim().open("/dev/dsp", O_WRONLY);
        const std::vector<uint8_t> tenth(17640);   // 0.1 s of 16-bit stereo at 44100 Hz
        const auto start = steady_clock::now();
        for (int i = 0; i < 10 * c.seconds; ++i)
            ASSERT_EQ(sim().write(fd, tenth.data(), tenth.size()), 17640);
        const auto took = steady_clock::now() - start;
        sim().close(fd);
        EXPECT_GE(took, c.least);
        EXPECT_LT(took, c.most);
    }
}

// A signal during a paced write ends it early with what has played: a
// partial count in whole 4-byte frames, which the capture holds too.
TEST_F(DspSim, SignalCutsAPacedWriteShort)
{
    setenv("LIRVA_DSP_SPEED", "1", 1);
    struct sigaction action {}, old {};
    action.sa_handler = [](int) {};   // no SA_RESTART
    sigaction(SIGUSR2, &action, &old);

    int fd = sim().open("/dev/dsp", O_WRONLY);
    std::vector<uint8_t> two_seconds(176400 * 2);
    ssize_t written = 0;
    std::thread writer([&] { written = sim().write(fd, two_seconds.data(), two_seconds.size()); });
    std::this_thread::sleep_for(milliseconds(100));
    const auto start = steady_clock::now();
    pthread_kill(writer.native_handle(), SIGUSR2);
    writer.join();
    const auto took = steady_clock::now() - start;
    sigaction(SIGUSR2, &old, nullptr);
    sim().close(fd);

    // About 0.1 s had played; bounds wide enough for a busy machine.
    EXPECT_LT(took, milliseconds(200));
    EXPECT_GT(written, 0);
    EXPECT_LT(written, 176400);
    EXPECT_EQ(written % 4, 0);
    EXPECT_EQ(enginetest::read_file(capture_).size(), static_cast<size_t>(written));
}
