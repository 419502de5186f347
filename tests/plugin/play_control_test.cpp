// Playing, stopping, replacing and leaving from the window, in every phase of
// a play, with files and devices that try to hold the play thread.
#include "hostile_flac.h"
#include "plugin_fixture.h"

namespace {

constexpr size_t wholeTrackBytes = 1234800;  // "track one.flac" as 16-bit stereo

// Where the play is when it is stopped, and in which file. The last two
// files keep the play reading: 1 TB of zeros after the first frames (the
// search for a frame ends by itself, soon), and 8 GB of metadata.
enum Phase { settingUp, playing, blockedInWrite, inEndlessFile, inPaddedFile };
const char* const phases[] = {"SettingUp", "Playing", "BlockedInTheDevice", "InAnEndlessFile", "InAPaddedFile"};
const char* const files[] = {"picture.flac", "track one.flac", "track one.flac", "endless.flac", "padded.flac"};
enum Stop { blueKey, anotherFile, leaving };
const char* const stops[] = {"BlueKey", "AnotherFile", "Leaving"};

class StopTest : public PlayerTest, public ::testing::WithParamInterface<std::tuple<int, int>> { };

// The user selects the file, waits for the phase and stops the play: the
// stop returns once the play has ended, the display is idle, and nothing of
// the play is left once the window has gone.
TEST_P(StopTest, EndsThePlayAtOnceAndLeavesNothing)
{
    const auto [phase, stop] = GetParam();
    const std::string file = music(files[phase]), source = corpus("subset-01-blocksize-4096.flac");
    const std::string why = phase == inEndlessFile ? make_sparse_after_header(file, source, 1LL << 40)
        : phase == inPaddedFile                    ? make_huge_padding(file, source, 512)
                                                   : "";
    if (!why.empty())
        GTEST_SKIP() << why;
    held = phase == settingUp || phase == blockedInWrite;
    paced = phase == playing;
    runWindow([&, phase = phase, stop = stop] {
        ASSERT_TRUE(walkTo(file)) << "the window never listed the file (a hang)";
        ASSERT_TRUE(testwait::until([&] {
            return phase == settingUp || (phase == blockedInWrite && deviceFull()) ||
                (phase == playing && internals(*lb_TT).getText() == "00:07" && !deviceBytes().empty()) ||
                (phase >= inEndlessFile && open_descriptors() >= fdsBefore + 2) ||  // the device and the file
                (phase == inEndlessFile && execThread.load() == nullptr);  // its bounded search already over
        })) << "the play never reached its phase (a hang)";
        if (stop == blueKey) {
            ASSERT_TRUE(press({eRCKey::blue})) << "the blue key froze the window";
            EXPECT_EQ(execThread.load(), nullptr) << "the blue key returned with the play still going";
        } else if (stop == anotherFile) {
            ASSERT_TRUE(choose("broken.flac")) << "selecting another file froze the window";
            EXPECT_TRUE(testwait::until([] { return execThread.load() == nullptr; })) << "a play hangs";
        }
        EXPECT_TRUE(stop == leaving || displayIdle());
    });
    runWindow([] {});  // the plug-in opens again as before
    expectNothingLeft();
    EXPECT_EQ(pauses.size(), stop == anotherFile ? 3u : 2u) << "a pause after each stop and each leave";
}

INSTANTIATE_TEST_SUITE_P(EveryPhase, StopTest, ::testing::Combine(::testing::Range(0, 5), ::testing::Range(0, 3)),
                         [](const auto& info) {
                             return std::string(phases[std::get<0>(info.param)]) + "_" + stops[std::get<1>(info.param)];
                         });

struct EndCase {
    const char* what;
    const char* file;    // in the music folder, or an absolute path
    const char* device;  // null: the FIFO device
    size_t bytes;        // what the FIFO device receives: 4 for each sample decoded
};

class PlayEndTest : public PlayerTest, public ::testing::WithParamInterface<EndCase> { };

// Plays that end by themselves, played out or refused, close everything and
// leave the display idle: a refused device shows no progress.
TEST_P(PlayEndTest, EndsByItselfAndShowsIdle)
{
    const EndCase c = GetParam();
    // A node where a file was listed; as the device, one whose open would
    // block (it has no reader).
    ASSERT_EQ(mkfifo(music("swapped.flac").c_str(), 0600), 0);
    auto at = [&](const char* path) { return path[0] == '/' ? std::string(path) : music(path); };
    const std::string device = c.device ? at(c.device) : devicePath;
    audio_device_path = device.c_str();
    file_info.samples_played = 0;
    auto* t = new ExecThread(at(c.file));
    t->start();
    ASSERT_TRUE(testwait::until([&] { return t->ended() && (c.device || devicePlays == 1); }))
        << "the play thread or the device is held (a hang)";
    EXPECT_EQ(deviceBytes().size(), c.bytes);
    EXPECT_EQ(file_info.samples_played * 4, c.bytes) << "decoded what no device played";
    EXPECT_TRUE(displayIdle());
    expectNothingLeft();
}

INSTANTIATE_TEST_SUITE_P(Plays, PlayEndTest,
                         ::testing::Values(EndCase{"PlayedToItsEnd", "track one.flac", nullptr, wholeTrackBytes},
                                           EndCase{"FifoInPlaceOfTheFile", "swapped.flac", nullptr, 0},
                                           EndCase{"DeviceOpenWouldBlock", "track one.flac", "swapped.flac", 0},
                                           EndCase{"DeviceWritesFail", "track one.flac", "/dev/full", 0}),
                         [](const auto& info) { return std::string(info.param.what); });

// Choosing the file again stops its play, pauses once the device is closed,
// and plays it again from the start. Its name, which a shell would split,
// quote and run commands from, runs nothing where the file is.
TEST_F(PlayerTest, ChoosingAgainRestartsThePlayAndANameFullOfShellSyntaxRunsNothing)
{
    const std::string name = "-x ; touch ran1 $(touch ran2) `touch ran3` 'q' \"d\" > ran4 &.flac";
    std::filesystem::copy_file(corpus("subset-01-blocksize-4096.flac"), music(name));
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(tree / "music");
    held = true;
    bool firstClosedBeforePause = false;
    onPause = [&] {
        held = false;  // the device reads what it held
        firstClosedBeforePause = firstClosedBeforePause || testwait::until([&] { return devicePlays == 1; });
    };
    runWindow([&] {
        ASSERT_TRUE(walkTo(music(name))) << "the window never listed the file (a hang)";
        ASSERT_TRUE(testwait::until([&] { return deviceFull(); })) << "the play never filled the device (a hang)";
        ASSERT_TRUE(choose(name));
        ASSERT_TRUE(testwait::until([&] { return devicePlays == 2; })) << "the second play hangs";
    });
    std::filesystem::current_path(before);
    EXPECT_TRUE(firstClosedBeforePause);
    const std::string both = deviceBytes();
    ASSERT_GT(both.size(), wholeTrackBytes) << "the second play was not played out";
    const size_t first = both.size() - wholeTrackBytes;
    EXPECT_LT(first, wholeTrackBytes) << "the first play was not cut short";
    EXPECT_EQ(both.substr(0, first), both.substr(first, first)) << "the second play starts from the beginning";
    for (const char* ran : {"ran1", "ran2", "ran3", "ran4"})
        EXPECT_FALSE(std::filesystem::exists(music(ran))) << ran;
}

// On a host whose kill returns before the thread has ended, another file
// still waits for the old play to end (its session closed, the thread
// forgotten) before the pause and the new play: two plays never share the
// record and the device.
TEST_F(PlayerTest, AnotherFileWaitsForTheOldPlayWhenTheKillReturnsEarly)
{
    setThreadKill(ThreadKill::early);
    held = true;
    bool oldEndedAtPause = false;
    onPause = [&] {  // the first pause: the one after the kill
        if (pauses.size() == 1)
            oldEndedAtPause = file_info.is_playing == 0 && execThread.load() == nullptr;
    };
    runWindow([&] {
        ASSERT_TRUE(walkTo(music("track one.flac"))) << "the window never listed the file (a hang)";
        ASSERT_TRUE(testwait::until([&] { return deviceFull(); })) << "the play never filled the device (a hang)";
        // Blocked in a write that the slow device ends only after a while.
        paced = true;
        held = false;
        ASSERT_TRUE(choose("broken.flac"));
    });
    EXPECT_TRUE(oldEndedAtPause);
    expectNothingLeft();
}

// A play thread that ends after another has become the current play does
// not forget that one.
TEST_F(PlayerTest, AnEndingThreadForgetsOnlyItself)
{
    ExecThread current(music("track one.flac"));  // never started
    execThread = &current;
    auto* late = new ExecThread(music("broken.flac"));
    late->finished.connect(SigC::slot(*dialog, &eLirvaDialog::execThreadFinished));
    late->start();
    ASSERT_TRUE(testwait::until([&] { return late->ended(); })) << "the play thread hangs";
    EXPECT_EQ(execThread.load(), &current);
    execThread = nullptr;
}

}  // namespace
