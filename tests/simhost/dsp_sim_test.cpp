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

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "engine_test_support.h"
#include "pacer.h"
#include "temp_tree.h"
#include "wait.h"

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
    play({std::string("\x01\x02\xFF", 3), std::string("\xFE\x00\x01\x00\x00", 5)}, 22050);  // a sample split
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

// The pacer's arithmetic, on made-up times: 17640 bytes are 0.1 s of
// 16-bit stereo at 44100 Hz.
TEST(Pacer, ChainsSlotsAtTheRateTimesTheSpeedFactor)
{
    constexpr int64_t ms = 1000 * 1000;
    const struct {
        double speed;
        int64_t tenth_ns;  // the slot of 0.1 s of sound
    } cases[] = {{1, 100 * ms}, {10, 10 * ms}, {0.5, 200 * ms}};
    for (const auto& c : cases) {
        SCOPED_TRACE("speed " + std::to_string(c.speed));
        Pacer pacer(176400 * c.speed);
        Pacer::Slot slot;
        for (int i = 0; i < 10; ++i)  // written all at once: the slots queue up
            slot = pacer.reserve(5 * ms, 17640);
        EXPECT_NEAR(slot.start_ns, 5 * ms + 9 * c.tenth_ns, 100);  // to rounding
        EXPECT_NEAR(slot.end_ns, 5 * ms + 10 * c.tenth_ns, 100);
        // Written late, but within the slack: still chained.
        slot = pacer.reserve(slot.end_ns + Pacer::idle_slack_ns, 17640);
        EXPECT_NEAR(slot.start_ns, 5 * ms + 10 * c.tenth_ns, 100);
        // Dry for longer: starts afresh.
        const int64_t later = slot.end_ns + Pacer::idle_slack_ns + 1;
        slot = pacer.reserve(later, 17640);
        EXPECT_EQ(slot.start_ns, later);
        EXPECT_NEAR(slot.end_ns, later + c.tenth_ns, 100);
    }
}

TEST(Pacer, UnpacedSlotsAreEmptyAndACutKeepsWholeFramesPlayedSoFar)
{
    Pacer unpaced(0);
    EXPECT_FALSE(unpaced.paced());
    const Pacer::Slot empty = unpaced.reserve(7, 1 << 20);
    EXPECT_EQ(empty.start_ns, 7);
    EXPECT_EQ(empty.end_ns, 7);

    Pacer pacer(176400);  // 1 s is 176400 bytes
    const Pacer::Slot second = pacer.reserve(0, 176400);
    EXPECT_EQ(pacer.cut_short(second, 500'000'000 + 1000, 176400), 88200u);  // whole frames only
    EXPECT_NEAR(pacer.reserve(500'000'000, 4).start_ns, 500'000'000, 100) << "the chain ends after the cut";
    Pacer late(176400);
    const Pacer::Slot whole = late.reserve(0, 400);
    EXPECT_EQ(late.cut_short(whole, 2'000'000'000, 400), 396u) << "an interrupted write is never whole";
}

// Against the real clock only what a busy machine cannot break: a paced
// write takes at least its time, an unpaced one does not wait for it.
TEST_F(DspSim, PacesWithTheSpeedFactorOrNotAtAll)
{
    const std::vector<uint8_t> tenth(17640);  // 0.1 s of 16-bit stereo at 44100 Hz
    auto play = [&](const char* speed, int tenths) {
        setenv("LIRVA_DSP_SPEED", speed, 1);
        int fd = sim().open("/dev/dsp", O_WRONLY);
        const auto start = steady_clock::now();
        for (int i = 0; i < tenths; ++i)
            EXPECT_EQ(sim().write(fd, tenth.data(), tenth.size()), 17640);
        const auto took = steady_clock::now() - start;
        sim().close(fd);
        return std::chrono::duration_cast<milliseconds>(took);
    };
    EXPECT_GE(play("10", 10).count(), 98) << "1 s of sound at ten times the speed, in ms";
    // 60 s of sound: paced at any speed but 0 it would take 60 s.
    EXPECT_LT(play("0", 600).count(), 30'000) << "unpaced writes wait (ms)";
}

// A signal during a paced write ends it early with what has played: a
// partial count in whole 4-byte frames, which the capture holds too.
TEST_F(DspSim, SignalCutsAPacedWriteShort)
{
    setenv("LIRVA_DSP_SPEED", "1", 1);
    struct sigaction action {
    }, old{};
    action.sa_handler = [](int) {};  // no SA_RESTART
    sigaction(SIGUSR2, &action, &old);

    int fd = sim().open("/dev/dsp", O_WRONLY);
    std::vector<uint8_t> two_seconds(176400 * 2);
    ssize_t written = 0;
    std::atomic<pid_t> tid{0};
    std::thread writer([&] {
        tid = testwait::this_thread_id();
        written = sim().write(fd, two_seconds.data(), two_seconds.size());
    });
    // Asleep means in the paced write; let some of it play before the cut.
    ASSERT_TRUE(testwait::until([&] { return tid != 0 && testwait::asleep(tid); })) << "the write never waited";
    std::this_thread::sleep_for(milliseconds(50));
    pthread_kill(writer.native_handle(), SIGUSR2);
    writer.join();
    sigaction(SIGUSR2, &old, nullptr);
    sim().close(fd);

    EXPECT_GT(written, 0);
    EXPECT_LT(written, static_cast<ssize_t>(two_seconds.size())) << "the signal did not cut the write";
    EXPECT_EQ(written % 4, 0);
    EXPECT_EQ(enginetest::read_file(capture_).size(), static_cast<size_t>(written));
}
