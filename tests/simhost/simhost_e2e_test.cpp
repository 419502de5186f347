// The real simhost, headless, with the real plug-in: a corpus file chosen by
// keys plays into the simulated device at real-time speed, is stopped with
// the blue key, played again and left. Each way simhost's eThread::kill may
// end a thread is tried: cooperatively, and by POSIX cancellation as some
// hosts do.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>

#include "simhost_run.h"
#include "temp_tree.h"

namespace {

using namespace simhost_run;

bool shows(const std::string& screen, const std::string& pattern)
{
    return std::regex_search(screen, std::regex(pattern));
}

class SimhostPlay : public ::testing::TestWithParam<const char*> { };

TEST_P(SimhostPlay, PlaysAFileByteExactShowsItAndStopsWithTheBlueKeyOrOnLeaving)
{
    if (const std::string why = testsupport::missingCorpus(); !why.empty())
        GTEST_SKIP() << why;
    if (std::string(GetParam()) == "cancel" && *LIRVA_TEST_CANCEL_SKIP)
        GTEST_SKIP() << LIRVA_TEST_CANCEL_SKIP;
    const std::string corpusFile = LIRVA_CORPUS_DIR "/subset-01-blocksize-4096.flac";
    const std::string name = "it's a t\xc3\xbcne; $(touch ran).flac";  // UTF-8 a shell would misread
    TempTree tree("lirva-play");
    fs::copy_file(corpusFile, tree / name);
    // From "/" into the tree by name, then play; Stop focuses the list with
    // the cursor on the file, so OK plays it again.
    std::ofstream(tree / "keys") << "to=/tmp\nok\nto=/" << fs::path(tree.path()).filename().string()
                                 << "\nok\nto=" << name
                                 << "\nok\nawait=00:01\nprint blue print ok\nawait=00:01\nexit\n";
    const RunResult r = run("cd " + shellQuoted(tree.path()) +
                            " && LIRVA_DSP_SPEED=1 LIRVA_DSP_CAPTURE=" + shellQuoted(tree / "cap.raw") + " " +
                            simhost("--thread-kill=" + std::string(GetParam()) + " --script keys " LIRVA_PLUGIN));
    ASSERT_EQ(r.exitCode, 0) << r.output;
    const size_t end1 = r.output.find("----- end screen -----"), end2 = r.output.find("----- end screen", end1 + 1);
    const std::string playing = r.output.substr(0, end1), stopped = r.output.substr(end1, end2 - end1);
    EXPECT_NE(rowOf(playing, name, true), std::string::npos) << "the name as itself\n" << playing;
    EXPECT_TRUE(shows(playing, "Total Time : [^\n]*00:07")) << playing;
    EXPECT_TRUE(shows(playing, "Elapsed Time : [^\n]*00:0[12]")) << playing;
    EXPECT_TRUE(shows(playing, "[#.]+ +([1-9]|[1-4][0-9])%")) << "the bar between 1% and 49%\n" << playing;
    EXPECT_FALSE(shows(stopped, "Time :|00:0")) << stopped;
    EXPECT_TRUE(shows(stopped, "[.]+ +0%")) << stopped;
    EXPECT_FALSE(fs::exists(tree / "ran")) << "something ran the file name";

    // The device holds the last play: more than the second the screen
    // showed, the start of the reference decode, cut short by leaving.
    const RunResult reference =
        run("flac -d -c -s --force-raw-format --endian=big --sign=signed " + shellQuoted(corpusFile));
    const std::string captured = testsupport::readFile(tree / "cap.raw");
    ASSERT_EQ(reference.exitCode, 0) << "the reference decoder failed";
    EXPECT_GE(captured.size(), 44100u * 2 * 2);
    EXPECT_LT(captured.size(), reference.output.size()) << "leaving did not stop the play";
    EXPECT_EQ(reference.output.compare(0, captured.size(), captured), 0) << "not the reference decode";
}

INSTANTIATE_TEST_SUITE_P(KillBy, SimhostPlay, ::testing::Values("cooperative", "cancel"));

TEST(SimhostRun, FailsOnAPluginOrScriptItCannotUse)
{
    const struct {
        std::string args;
        int exitCode;
        std::string says;
    } runs[] = {
        {"--headless /nonexistent/lirva.so", 2, "cannot load plug-in"},
        {"--keys 'down sideways' " LIRVA_PLUGIN, 2, "sideways"},
    };
    for (const auto& c : runs) {
        const RunResult r = run(simhost(c.args + " 2>&1"));
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args << "\n" << r.output;
        EXPECT_NE(r.output.find(c.says), std::string::npos) << c.args << "\n" << r.output;
    }
}

}  // namespace
