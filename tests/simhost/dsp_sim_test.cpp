// The simulated OSS device, loaded with dlopen and called through its own
// entry points, as a process that preloads it calls them.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <fcntl.h>
#include <linux/soundcard.h>

#include <cstring>

#include "command.h"
#include "pacer.h"
#include "temp_tree.h"

namespace {

using testsupport::readFile;

struct Sim {
    void* lib = dlopen(LIRVA_DSP_SIM, RTLD_NOW | RTLD_LOCAL);
    template <class F>
    F get(const char* name) const
    {
        return lib ? reinterpret_cast<F>(dlsym(lib, name)) : nullptr;
    }
    int (*open)(const char*, int, ...) = get<decltype(open)>("open");
    int (*ioctl)(int, unsigned long, ...) = get<decltype(ioctl)>("ioctl");
    ssize_t (*write)(int, const void*, size_t) = get<decltype(write)>("write");
    int (*close)(int) = get<decltype(close)>("close");
} const sim;

class DspSim : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(sim.lib, nullptr) << dlerror();
        setenv("LIRVA_DSP_SPEED", "0", 1);
        setenv("LIRVA_DSP_CAPTURE", capture.c_str(), 1);
        setenv("LIRVA_DSP_LOG", (tree / "log").c_str(), 1);
    }
    void TearDown() override
    {
        for (const char* name : {"SPEED", "CAPTURE", "LOG", "FAIL", "ANSWER", "RATES"})
            unsetenv(("LIRVA_DSP_" + std::string(name)).c_str());
    }
    // One play: open, the settings asked, the writes, close; the answers.
    std::vector<int> play(std::vector<std::string> writes, std::vector<int> asked = {AFMT_S16_BE, 1, 44100})
    {
        const int fd = sim.open("/dev/dsp", O_WRONLY);
        const unsigned long requests[] = {SNDCTL_DSP_SETFMT, SNDCTL_DSP_STEREO, SNDCTL_DSP_SPEED};
        for (size_t i = 0; i < asked.size(); ++i)
            EXPECT_EQ(sim.ioctl(fd, requests[i], &asked[i]), 0);
        for (const std::string& w : writes)
            EXPECT_EQ(sim.write(fd, w.data(), w.size()), static_cast<ssize_t>(w.size()));
        EXPECT_EQ(sim.close(fd), 0);
        return asked;
    }

    TempTree tree;
    std::string capture = tree / "play.raw";
};

}  // namespace

// 32-bit programs with large-file support call the 64-bit family, the others
// the plain one; fortified builds call the __*_2 forms. Each gives the device
// for "/dev/dsp" and goes on to the real file for any other path.
TEST_F(DspSim, EveryOpenEntryPointTakesExactlyTheDevicePath)
{
    auto openBy = [](const char* name, const char* path) {
        const int flags = O_WRONLY | O_TRUNC;
        if (strstr(name, "at") == nullptr)
            return name[0] == '_' ? sim.get<int (*)(const char*, int)>(name)(path, flags)
                                  : sim.get<int (*)(const char*, int, ...)>(name)(path, flags);
        return name[0] == '_' ? sim.get<int (*)(int, const char*, int)>(name)(AT_FDCWD, path, flags)
                              : sim.get<int (*)(int, const char*, int, ...)>(name)(AT_FDCWD, path, flags);
    };
    tree.dir("dev");
    const std::string elsewhere = tree.file("dev/dsp");
    for (const char* name :
         {"open", "open64", "__open_2", "__open64_2", "openat", "openat64", "__openat_2", "__openat64_2"}) {
        ASSERT_NE(sim.get<void*>(name), nullptr) << name;
        EXPECT_EQ(openBy(name, "/dev/dspx"), -1) << name << " took a path that only begins like the device";
        for (const int fd : {openBy(name, "/dev/dsp"), openBy(name, elsewhere.c_str())}) {
            EXPECT_EQ(sim.write(fd, name, strlen(name)), static_cast<ssize_t>(strlen(name))) << name;
            EXPECT_EQ(sim.close(fd), 0) << name;
        }
        EXPECT_EQ(readFile(capture), name) << name << " did not give the device";
        EXPECT_EQ(readFile(elsewhere), name) << name << " took a path that is not the device";
    }
}

// Logged in order; answered with what the device plays (the nearest of its
// rates), or as LIRVA_DSP_ANSWER says.
TEST_F(DspSim, LogsTheSettingsAndAnswersAsTheDeviceOrTheTestSays)
{
    EXPECT_EQ(play({"abcd"}, {AFMT_U8, 5, 500}), (std::vector<int>{AFMT_S16_BE, 1, 8000}));
    EXPECT_EQ(readFile(tree / "log"),
              "open O_WRONLY\nioctl SETFMT 8\nioctl STEREO 5\nioctl SPEED 500\nclose bytes=4 writes=1\n");
    for (int rate : {96000, 176400, 192000, 24000})
        EXPECT_EQ(play({}, {AFMT_S16_BE, 1, rate})[2], rate);
    EXPECT_EQ(play({}, {AFMT_S16_BE, 1, 400000})[2], 192000);
    setenv("LIRVA_DSP_RATES", "44100,48000", 1);
    for (auto [asked, answer] : {std::pair{96000, 48000}, {46050, 44100}, {46051, 48000}, {8000, 44100}})
        EXPECT_EQ(play({}, {AFMT_S16_BE, 1, asked})[2], answer) << asked;
    setenv("LIRVA_DSP_ANSWER", "format=s16le,channels=1,rate=32000", 1);
    EXPECT_EQ(play({}), (std::vector<int>{AFMT_S16_LE, 0, 32000}));
}

// Asked to, the device fails its open as a busy one, or every write as a
// broken one; the bytes of a failed write are not played.
TEST_F(DspSim, FailsItsOpenOrEveryWriteWhenAsked)
{
    setenv("LIRVA_DSP_FAIL", "open", 1);
    EXPECT_TRUE(sim.open("/dev/dsp", O_WRONLY) == -1 && errno == EBUSY);
    setenv("LIRVA_DSP_FAIL", "write", 1);
    const int fd = sim.open("/dev/dsp", O_WRONLY);
    EXPECT_TRUE(sim.write(fd, "\x01\x02", 2) == -1 && errno == EIO);
    EXPECT_EQ(sim.close(fd), 0);
    EXPECT_EQ(readFile(capture), "");
}

TEST_F(DspSim, CapturesTheLastPlayRawOrAsALittleEndianWavFile)
{
    play({"\x01\x02\x03", "\x04\x05"});
    play({"\x09"});
    EXPECT_EQ(readFile(capture), "\x09");

    // A sample split between writes; the samples after the header, not over it.
    setenv("LIRVA_DSP_CAPTURE", (capture = tree / "play.wav").c_str(), 1);
    play({std::string("\x01\x02\xFF", 3), std::string("\xFE\x00\x01\x00\x00", 5)}, {AFMT_S16_BE, 1, 22050});
    const std::string wav = readFile(capture);
    ASSERT_EQ(wav.size(), 44u + 8);
    auto u16 = [&](size_t at) { return uint8_t(wav[at]) | uint8_t(wav[at + 1]) << 8; };
    EXPECT_EQ(wav.substr(0, 4) + wav.substr(8, 8) + wav.substr(36, 4), "RIFFWAVEfmt data");
    EXPECT_EQ((std::vector<int>{u16(4), u16(22), u16(24), u16(34), u16(40)}),
              (std::vector<int>{36 + 8, 2, 22050, 16, 8}));  // sizes, channels, rate, bits
    EXPECT_EQ(wav.substr(44), std::string("\x02\x01\xFE\xFF\x01\x00\x00\x00", 8));
}

// The pacer on made-up times: 17640 bytes are 0.1 s of 16-bit stereo at
// 44100 Hz.
TEST(Pacer, ChainsSlotsAtTheRateTimesTheSpeedUntilTheDeviceRunsDry)
{
    constexpr int64_t ms = 1000 * 1000;
    for (double speed : {1.0, 10.0, 0.5}) {
        const int64_t tenth = static_cast<int64_t>(100 * ms / speed);
        Pacer pacer(176400 * speed);
        Pacer::Slot slot;
        for (int i = 0; i < 10; ++i)  // written all at once: the slots queue up
            slot = pacer.reserve(5 * ms, 17640);
        EXPECT_NEAR(slot.end_ns, 5 * ms + 10 * tenth, 100) << speed;
        slot = pacer.reserve(slot.end_ns + Pacer::idle_slack_ns, 17640);  // late, within the slack
        EXPECT_NEAR(slot.start_ns, 5 * ms + 10 * tenth, 100) << speed;
        const int64_t later = slot.end_ns + Pacer::idle_slack_ns + 1;  // dry for longer: afresh
        EXPECT_EQ(pacer.reserve(later, 17640).start_ns, later) << speed;
    }

    Pacer pacer(176400), late(176400);  // 1 s is 176400 bytes
    EXPECT_EQ(pacer.cut_short(pacer.reserve(0, 176400), 500 * ms + 1000, 176400), 88200u) << "whole frames";
    EXPECT_NEAR(pacer.reserve(500 * ms, 4).start_ns, 500 * ms, 100) << "the chain ends after the cut";
    EXPECT_EQ(late.cut_short(late.reserve(0, 400), 2000 * ms, 400), 396u) << "an interrupted write is never whole";
}
