// Playing, stopping, replacing and leaving from the window, in every phase of
// a play, with files and devices that try to hold the play thread.
#include <sys/stat.h>

#include <filesystem>

#include "audio_device.h"
#include "file_info.h"
#include "hostile_flac.h"
#include "open_descriptors.h"
#include "plugin_fixture.h"
#include "status_widgets.h"

namespace {

constexpr size_t wholeTrackBytes = 1234800;  // "track one.flac" as 16-bit stereo

enum class Phase { settingUp, playing, blockedInWrite, inHostileFile };
enum class Stop { blueKey, anotherFile, leaving };

struct StopCase {
    const char* file;
    Phase phase;
    Stop by;
};

const char* const phaseNames[] = {"SettingUp", "Playing", "BlockedInTheDevice", "InTheFile"};
const char* const stopNames[] = {"BlueKey", "AnotherFile", "Leaving"};

void PrintTo(const StopCase& c, std::ostream* out)
{
    *out << c.file << ", " << phaseNames[int(c.phase)] << ", stopped by " << stopNames[int(c.by)];
}

class StopTest : public PlayerTest, public ::testing::WithParamInterface<StopCase> { };

// The user selects the file, waits for the phase and stops the play: the
// stop returns once the play has ended, the display is idle, and nothing
// of the play is left once the window has gone.
TEST_P(StopTest, EndsThePlayAtOnceAndLeavesNothing)
{
    const StopCase c = GetParam();
    if (c.phase == Phase::inHostileFile) {
        const std::string source = corpus("subset-01-blocksize-4096.flac");
        const std::string why = std::string(c.file) == "endless.flac"
            ? make_sparse_after_header(music(c.file), source, 1LL << 40)  // 1 TB searched for a frame
            : make_huge_padding(music(c.file), source, 512);              // 8 GB of metadata
        if (!why.empty())
            GTEST_SKIP() << why;
    }
    device->held = c.phase == Phase::settingUp || c.phase == Phase::blockedInWrite;
    device->paced = c.phase == Phase::playing;
    runWindow([&] {
        ASSERT_TRUE(walkTo(music(c.file))) << "the window never listed the file (a hang)";
        const bool reached = testwait::until([&] {
            switch (c.phase) {
            case Phase::playing: return internals(*lb_TT).getText() == "00:07" && !device->bytes().empty();
            case Phase::blockedInWrite: return device->full();
            case Phase::inHostileFile:  // the device and the file are open
                return open_descriptors() >= fdsBefore + 2;
            default: return true;
            }
        });
        ASSERT_TRUE(reached) << "the play never reached its phase (a hang)";
        if (c.by == Stop::blueKey) {
            ASSERT_TRUE(press(eRCKey::blue)) << "the blue key froze the window";
            EXPECT_EQ(execThread.load(), nullptr) << "the blue key returned with the play still going";
        } else if (c.by == Stop::anotherFile) {
            ASSERT_TRUE(choose("broken.flac")) << "selecting another file froze the window";
            EXPECT_TRUE(testwait::until([] { return execThread.load() == nullptr; })) << "a play hangs";
        }
        if (c.by != Stop::leaving) {
            EXPECT_TRUE(displayIdle());
        }
    });
    expectNothingLeft();
    EXPECT_EQ(pauses.size(), c.by == Stop::anotherFile ? 2u : 1u) << "one pause after each stop of a play";
}

const StopCase stopCases[] = {
    {"picture.flac", Phase::settingUp, Stop::blueKey},
    {"picture.flac", Phase::settingUp, Stop::anotherFile},
    {"picture.flac", Phase::settingUp, Stop::leaving},
    {"track one.flac", Phase::playing, Stop::blueKey},
    {"track one.flac", Phase::playing, Stop::anotherFile},
    {"track one.flac", Phase::playing, Stop::leaving},
    {"track one.flac", Phase::blockedInWrite, Stop::blueKey},
    {"track one.flac", Phase::blockedInWrite, Stop::anotherFile},
    {"track one.flac", Phase::blockedInWrite, Stop::leaving},
    {"endless.flac", Phase::inHostileFile, Stop::blueKey},
    {"endless.flac", Phase::inHostileFile, Stop::anotherFile},
    {"endless.flac", Phase::inHostileFile, Stop::leaving},
    {"padded.flac", Phase::inHostileFile, Stop::blueKey},
    {"padded.flac", Phase::inHostileFile, Stop::anotherFile},
    {"padded.flac", Phase::inHostileFile, Stop::leaving},
};

INSTANTIATE_TEST_SUITE_P(EveryPhase, StopTest, ::testing::ValuesIn(stopCases), [](const auto& info) {
    const std::string file = info.param.file;
    return file.substr(0, file.find_first_of(" .")) + phaseNames[int(info.param.phase)] + "_" +
        stopNames[int(info.param.by)];
});

struct EndCase {
    const char* what;
    const char* file;    // in the music folder, or an absolute path
    const char* device;  // null: the FIFO device
    size_t bytes;        // what the FIFO device receives
};

void PrintTo(const EndCase& c, std::ostream* out)
{
    *out << c.what;
}

class PlayEndTest : public PlayerTest, public ::testing::WithParamInterface<EndCase> { };

// Plays that end by themselves, played out or refused, close everything and
// leave the display idle: a refused device shows no progress.
TEST_P(PlayEndTest, EndsByItselfAndShowsIdle)
{
    const EndCase c = GetParam();
    tree.fifo("music/swapped.flac");  // a node where a file was listed
    tree.fifo("silent-dsp");          // a device whose open would block
    const std::string silent = tree / "silent-dsp";
    if (c.device != nullptr)
        audio_device_path = *c.device == '/' ? c.device : silent.c_str();
    auto* t = new ExecThread(c.file[0] == '/' ? c.file : music(c.file));
    t->start();
    ASSERT_TRUE(testwait::until([&] { return t->ended(); })) << "the play thread is held (a hang)";
    if (c.device == nullptr) {
        EXPECT_TRUE(testwait::until([&] { return device->ended() == 1; })) << "the device was never closed";
    }
    EXPECT_EQ(device->bytes().size(), c.bytes);
    EXPECT_TRUE(displayIdle());
    expectNothingLeft();
}

const EndCase endCases[] = {
    {"PlayedToItsEnd", "track one.flac", nullptr, wholeTrackBytes}, {"NotFlac", "broken.flac", nullptr, 0},
    {"FifoInPlaceOfTheFile", "swapped.flac", nullptr, 0},           {"DeviceInPlaceOfTheFile", "/dev/zero", nullptr, 0},
    {"DeviceOpenWouldBlock", "track one.flac", "silent-dsp", 0},  // no reader
    {"DeviceWritesFail", "track one.flac", "/dev/full", 0},
};

INSTANTIATE_TEST_SUITE_P(Plays, PlayEndTest, ::testing::ValuesIn(endCases),
                         [](const auto& info) { return std::string(info.param.what); });

TEST_F(PlayerTest, ASecondSelectionStopsTheFirstPausesAndPlaysFromTheStart)
{
    device->held = true;
    play("track one.flac");
    ASSERT_TRUE(testwait::until([&] { return device->full(); })) << "the play never filled the device (a hang)";
    // The device reads what it held once the first play has gone: the
    // pause comes after the close.
    bool firstClosedBeforePause = false;
    onPause = [&] {
        device->held = false;
        firstClosedBeforePause = testwait::until([&] { return device->ended() == 1; });
    };
    play("track one.flac");
    ASSERT_TRUE(testwait::until([&] { return device->ended() == 2; })) << "the second play hangs";
    EXPECT_EQ(pauses, std::vector<unsigned>{1});
    EXPECT_TRUE(firstClosedBeforePause);
    const std::string both = device->bytes();
    ASSERT_GT(both.size(), wholeTrackBytes) << "the second play was not played out";
    const size_t first = both.size() - wholeTrackBytes;
    EXPECT_LT(first, wholeTrackBytes) << "the first play was not cut short";
    EXPECT_EQ(both.substr(0, first), both.substr(first, first)) << "the second play starts from the beginning";
    EXPECT_TRUE(displayIdle());
    expectNothingLeft();
}

// Through the whole window: a name that a shell would split, quote and run
// commands from plays like any other, and runs nothing.
TEST_F(PlayerTest, AFileNameFullOfShellSyntaxPlaysAndRunsNothing)
{
    const std::string name = "-x ; touch ran1 $(touch ran2) `touch ran3` 'q' \"d\" > ran4 &.flac";
    std::filesystem::copy_file(corpus("subset-01-blocksize-4096.flac"), music(name));
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(tree / "music");  // where a shell would create the files
    runWindow([&] {
        EXPECT_TRUE(walkTo(music(name))) << "the window never listed the file (a hang)";
        EXPECT_TRUE(testwait::until([&] { return device->ended() == 1; })) << "the play hangs";
    });
    std::filesystem::current_path(before);
    EXPECT_EQ(device->bytes().size(), wholeTrackBytes);
    for (const char* ran : {"ran1", "ran2", "ran3", "ran4"})
        EXPECT_FALSE(std::filesystem::exists(music(ran))) << ran;
}

}  // namespace
