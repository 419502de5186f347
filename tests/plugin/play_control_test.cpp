// Playing, stopping, replacing and leaving from the window, in every phase of
// a play, with files and devices that try to hold the play thread.
#include "hostile_flac.h"
#include "plugin_fixture.h"

namespace {

constexpr size_t wholeTrackBytes = 1234800;  // "track one.flac" as 16-bit stereo

// Where the play is when it is stopped, and in which file. The endless and
// padded files keep the play reading: 1 TB of zeros after the first frames
// (the search for a frame ends by itself, soon), and 8 GB of metadata.
// Between tracks, the run has played track one and reads such metadata of
// the next one.
enum Phase { settingUp, playing, blockedInWrite, inEndlessFile, inPaddedFile, paused, betweenTracks };
const char* const phases[] = {"SettingUp",    "Playing", "BlockedInTheDevice", "InAnEndlessFile",
                              "InAPaddedFile", "Paused",  "BetweenTracks"};
const char* const files[] = {"picture.flac",   "track one.flac", "track one.flac", "endless.flac",
                             "padded.flac",    "track one.flac", "track one.flac"};
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
        : phase == betweenTracks                   ? make_huge_padding(music("track two.flac"), source, 512)
                                                   : "";
    if (!why.empty())
        GTEST_SKIP() << why;
    held = phase == settingUp || phase == blockedInWrite;
    paced = phase == playing || phase == paused;
    runWindow([&, phase = phase, stop = stop] {
        ASSERT_TRUE(walkTo(file)) << "the window never listed the file (a hang)";
        ASSERT_TRUE(testwait::until([&] {
            return phase == settingUp || (phase == blockedInWrite && deviceFull()) ||
                ((phase == playing || phase == paused) && internals(*lb_TT).getText() == "00:07" &&
                 !deviceBytes().empty()) ||
                ((phase == inEndlessFile || phase == inPaddedFile) &&
                 open_descriptors() >= fdsBefore + 2) ||                   // the device and the file
                (phase == inEndlessFile && execThread.load() == nullptr) ||  // its bounded search already over
                (phase == betweenTracks && deviceBytes().size() == wholeTrackBytes && !file_info.is_playing);
        })) << "the play never reached its phase (a hang)";
        if (phase == paused) {
            ASSERT_TRUE(press({eRCKey::yellow}));
            ASSERT_TRUE(testwait::until([] { return internals(*lb_line3).getText().find("(paused)") != eString::npos; }))
                << "the play never held";
        }
        if (stop == blueKey) {
            ASSERT_TRUE(press({eRCKey::blue})) << "the blue key froze the window";
            EXPECT_EQ(execThread.load(), nullptr) << "the blue key returned with the play still going";
        } else if (stop == anotherFile) {
            ASSERT_TRUE(choose("zz broken.flac")) << "selecting another file froze the window";
            EXPECT_TRUE(testwait::until([] { return execThread.load() == nullptr; })) << "a play hangs";
        }
        EXPECT_TRUE(stop == leaving || displayIdle());
    });
    runWindow([] {});  // the plug-in opens again as before
    expectNothingLeft();
    EXPECT_EQ(pauses.size(), stop == anotherFile ? 3u : 2u) << "a pause after each stop and each leave";
}

INSTANTIATE_TEST_SUITE_P(EveryPhase, StopTest, ::testing::Combine(::testing::Range(0, 7), ::testing::Range(0, 3)),
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
    // The run from it then ends at the broken file.
    std::filesystem::remove(music("track one.flac"));
    std::filesystem::remove(music("picture.flac"));
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

// A folder of three files in mixed formats (16-bit stereo, 16-bit mono,
// 8-bit stereo), in the browser's order, among names the browser does not
// list as FLAC files or that sort elsewhere.
class RunTest : public PlayerTest {
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        if (IsSkipped())
            return;
        tree.dir("album/aa folder.flac");
        std::filesystem::copy_file(corpus("subset-01-blocksize-4096.flac"), tree / "album/Z.flac");
        std::filesystem::copy_file(corpus("subset-60-mono-audio.flac"), tree / "album/b.FLAC");
        std::filesystem::copy_file(corpus("subset-23-8-bit-per-sample.flac"), tree / "album/c.flac");
        std::filesystem::create_symlink(tree / "album/Z.flac", tree / "album/a link.flac");
        tree.file("album/notes.txt", "not a track");
        for (const char* name : {"Z.flac", "b.FLAC", "c.flac"})
            tracks.push_back(expectedBytes(tree / ("album/" + std::string(name))));
    }
    // The length of the longest start of `bytes` from `at` that `track`
    // begins with, in whole frames of 4096 samples (every track's size).
    static size_t framesMatching(const std::string& bytes, size_t at, const std::string& track)
    {
        size_t n = 0;
        while (at + n < bytes.size() && n < track.size() && bytes[at + n] == track[n])
            ++n;
        return n == track.size() ? n : n / (4096 * 4) * (4096 * 4);
    }
    static bool lineShows(eLabel* label, const std::string& text)
    {
        return internals(*label).getText().find(text) != std::string::npos;
    }

    std::vector<std::string> tracks;  // as the device should receive them
};

// Selected, the first file plays, then the others in order: the device,
// open once, receives exactly one decode after the other, with no sample
// between them. The run ends idle.
TEST_F(RunTest, PlaysTheFolderThroughInOrderWithoutAGap)
{
    runWindow([&] {
        ASSERT_TRUE(walkTo(tree / "album/Z.flac")) << "the window never listed the file (a hang)";
        ASSERT_TRUE(testwait::until([&] { return execThread.load() == nullptr && devicePlays >= 1; }))
            << "the run never ended (a hang)";
        EXPECT_TRUE(displayIdle());
    });
    EXPECT_EQ(deviceSessions(), 1) << "the device was set up again between tracks of one format";
    EXPECT_TRUE(deviceBytes() == tracks[0] + tracks[1] + tracks[2]) << "not the three decodes, back to back";
    expectNothingLeft();
}

// After a file of another rate the device, having played, is set up anew
// (a second session) rather than changed in mid-stream.
TEST_F(RunTest, ANeighbourOfAnotherRateGetsTheDeviceSetUpAnew)
{
    std::filesystem::copy_file(corpus("subset-45-no-total-number-of-samples-set.flac"), tree / "album/d 48 kHz.flac");
    runWindow([&] {
        ASSERT_TRUE(walkTo(tree / "album/c.flac")) << "the window never listed the file (a hang)";
        ASSERT_TRUE(testwait::until([&] { return execThread.load() == nullptr && deviceDrained(); }))
            << "the run never ended (a hang)";
    });
    EXPECT_EQ(deviceSessions(), 2);
    const std::string bytes = deviceBytes();
    EXPECT_TRUE(bytes.compare(0, tracks[2].size(), tracks[2]) == 0) << "not the first file's decode";
    EXPECT_GT(bytes.size(), tracks[2].size()) << "the second file did not play";
    expectNothingLeft();
}

// Yellow holds the play and yellow again goes on where it held; green
// skips to the next file at once, also from the last one (the run ends).
// Each track is a start of its decode, cut at a frame: nothing lost or
// doubled at the pause or the skips.
TEST_F(RunTest, PauseHoldsAndNextSkipsWithNothingLostOrDoubled)
{
    paced = true;
    size_t heldAt = 0;
    runWindow([&] {
        ASSERT_TRUE(walkTo(tree / "album/Z.flac")) << "the window never listed the file (a hang)";
        ASSERT_TRUE(testwait::until([&] { return lineShows(lb_line3, "44.1 kHz") && !deviceBytes().empty(); }));
        EXPECT_TRUE(lineShows(lb_title, "Z")) << "no name for a file without comments";
        ASSERT_TRUE(press({eRCKey::yellow}));
        ASSERT_TRUE(testwait::until([&] { return lineShows(lb_line3, "(paused)"); })) << "yellow did not hold";
        heldAt = deviceBytes().size();
        ASSERT_TRUE(press({eRCKey::yellow}));
        ASSERT_TRUE(testwait::until([&] { return !lineShows(lb_line3, "(paused)"); })) << "yellow did not resume";
        for (const char* next : {"b", "c"}) {
            ASSERT_TRUE(press({eRCKey::green}));
            ASSERT_TRUE(testwait::until([&] { return lineShows(lb_title, next); })) << "green did not skip";
            // Read beyond what the device held of the track before: the next one plays.
            const size_t before = deviceBytes().size() + deviceCapacity();
            ASSERT_TRUE(testwait::until([&] { return deviceBytes().size() > before; })) << "the next file never plays";
        }
        ASSERT_TRUE(press({eRCKey::green}));
        ASSERT_TRUE(testwait::until([&] { return execThread.load() == nullptr && devicePlays >= 1; }))
            << "green on the last file did not end the run";
        EXPECT_TRUE(displayIdle());
    });
    const std::string bytes = deviceBytes();
    size_t at = 0;
    for (const std::string& track : tracks) {
        const size_t played = framesMatching(bytes, at, track);
        EXPECT_GT(played, 0u) << "a track missing at byte " << at;
        EXPECT_LT(played, track.size()) << "a track not skipped at byte " << at;
        EXPECT_TRUE(at > 0 || heldAt <= played) << "the pause came after the first track";
        at += played;
    }
    EXPECT_EQ(at, bytes.size()) << "bytes lost, doubled or added";
    EXPECT_EQ(deviceSessions(), 1);
    expectNothingLeft();
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
        ASSERT_TRUE(choose("zz broken.flac"));
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
    auto* late = new ExecThread(music("zz broken.flac"));
    late->finished.connect(SigC::slot(*dialog, &eLirvaDialog::execThreadFinished));
    late->start();
    ASSERT_TRUE(testwait::until([&] { return late->ended(); })) << "the play thread hangs";
    EXPECT_EQ(execThread.load(), &current);
    execThread = nullptr;
}

}  // namespace
