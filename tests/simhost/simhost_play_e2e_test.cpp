// Plays a corpus file with the real plug-in in the real simhost, through the
// simulated device at real-time speed, and stops it with the blue key or by
// leaving the window. What the device received must be the start of the
// reference decode, and the screen must show the play and then the idle state.
// Each case runs with both ways simhost's eThread::kill may end a thread:
// cooperatively, and by POSIX cancellation as some hosts do.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "simhost_run.h"
#include "temp_tree.h"

namespace {

using namespace simhost_run;

const std::string kCorpusFile = LIRVA_CORPUS_DIR "/subset-01-blocksize-4096.flac";
// A name that a shell would split, quote or run something from.
const std::string kPlayedName = "it's a tune; $(touch ran).flac";
constexpr size_t kBytesPerSecond = 44100 * 2 * 2;

// Whether `screen` holds a match for `pattern`.
bool shows(const std::string& screen, const std::string& pattern)
{
    return std::regex_search(screen, std::regex(pattern));
}

class SimhostPlayEndToEnd : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        if (const std::string why = testsupport::missingCorpus(); !why.empty())
            GTEST_SKIP() << why;
        if (std::string(GetParam()) == "cancel" && *LIRVA_TEST_CANCEL_SKIP)
            GTEST_SKIP() << LIRVA_TEST_CANCEL_SKIP;
        fs::copy_file(kCorpusFile, tree / kPlayedName);
    }

    // Runs simhost on the real plug-in, from inside the tree: the keys that
    // select the file, then `afterSelecting`.
    RunResult play(const std::string& afterSelecting) const
    {
        const std::string walk = keysTo(tree / kPlayedName);
        EXPECT_FALSE(walk.empty()) << "no walk to " << tree.path();
        std::ofstream(tree / "keys") << walk << afterSelecting << "\n";
        const std::string options = std::string("--thread-kill=") + GetParam() + " --script keys ";
        return run("cd " + shellQuoted(tree.path()) + " && LIRVA_DSP_SPEED=1 LIRVA_DSP_CAPTURE=" +
                   shellQuoted(tree / "cap.raw") + " " + simhost(options + LIRVA_PLUGIN));
    }

    // The captured bytes, checked to be the first part of the reference
    // decode, cut short.
    std::string cutShortCapture() const
    {
        const RunResult ref =
            run("flac -d -c -s --force-raw-format --endian=big --sign=signed " + shellQuoted(kCorpusFile));
        EXPECT_EQ(ref.exitCode, 0) << "the reference decoder failed";
        const std::string captured = testsupport::readFile(tree / "cap.raw"), &reference = ref.output;
        EXPECT_FALSE(captured.empty());
        EXPECT_LT(captured.size(), reference.size()) << "the play was not stopped";
        const size_t n = std::min(captured.size(), reference.size());
        EXPECT_EQ(std::mismatch(captured.begin(), captured.begin() + n, reference.begin()).first - captured.begin(),
                  static_cast<std::ptrdiff_t>(n))
            << "the first byte that differs from the reference";
        return captured;
    }

    TempTree tree{"lirva-play"};
};

TEST_P(SimhostPlayEndToEnd, ShowsThePlayAndStopsItWithTheBlueKey)
{
    // The screen shows a second played; the print follows at once, and the
    // device never runs ahead of the clock.
    const RunResult r = play("await=00:01\nprint blue print");
    ASSERT_EQ(r.exitCode, 0) << r.output;
    const std::vector<std::string> shown = screens(r.output);
    ASSERT_EQ(shown.size(), 2u) << r.output;

    const std::string &playing = shown[0], &stopped = shown[1];
    EXPECT_NE(rowOf(playing, kPlayedName, true), std::string::npos) << playing;
    EXPECT_TRUE(shows(playing, "Total Time : [^\n]*00:07")) << playing;
    EXPECT_TRUE(shows(playing, "Elapsed Time : [^\n]*00:0[12]")) << playing;
    EXPECT_TRUE(shows(playing, "[#.]+ +([1-9]|[1-4][0-9])%")) << "the bar between 1% and 49%\n" << playing;

    EXPECT_FALSE(shows(stopped, "Time :|00:0")) << stopped;
    EXPECT_TRUE(shows(stopped, "[.]+ +0%")) << stopped;

    // The screen said a whole second had played: the device has it.
    EXPECT_GE(cutShortCapture().size(), kBytesPerSecond);
    EXPECT_FALSE(fs::exists(tree / "ran")) << "something ran the file name";
}

TEST_P(SimhostPlayEndToEnd, LeavingTheWindowWhilePlayingStopsThePlay)
{
    const RunResult r = play("await=00:01\nexit");
    ASSERT_EQ(r.exitCode, 0) << r.output;
    cutShortCapture();
}

INSTANTIATE_TEST_SUITE_P(KillBy, SimhostPlayEndToEnd, ::testing::Values("cooperative", "cancel"));

}  // namespace
