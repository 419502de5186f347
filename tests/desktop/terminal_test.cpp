// The interactive terminal: simhost in tmux as a person uses it, with real
// keys, the simulated device at real-time speed, and the screen read back.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "desktop_support.h"
#include "temp_tree.h"
#include "terminal_player.h"

namespace {

using namespace desktop;

const std::string kCorpusFile = LIRVA_CORPUS_DIR "/subset-01-blocksize-4096.flac";
// Non-ASCII letters and a dash that is not ASCII either, in a folder whose
// name is not ASCII.
const std::string kFolder = "Música";
const std::string kName = "Björk – Jóga.flac";

TEST(Terminal, WalksPlaysStopsAndLeavesWithTheTerminalRestored)
{
    DESKTOP_REQUIRE(missingProgram("tmux", "tmux"));
    if (const std::string why = testsupport::missingCorpus(); !why.empty())
        GTEST_SKIP() << why;
    TempTree tree("!lirva-terminal");
    std::filesystem::create_directory(tree / kFolder);
    std::filesystem::copy_file(kCorpusFile, tree / (kFolder + "/" + kName));

    TerminalPlayer player(tree.path(), "LIRVA_DSP_SPEED=1 LIRVA_DSP_CAPTURE=" + shellQuoted(tree / "capture.raw"));
    ASSERT_TRUE(player.started()) << "tmux did not start";
    ASSERT_TRUE(player.waitForWindow()) << "no window (hang)\n" << player.lastScreen();
    EXPECT_NE(player.lastScreen().find("Esc exit"), std::string::npos) << "the key help row\n" << player.lastScreen();

    // The arrows move the cursor both ways.
    player.keys("Down");
    ASSERT_TRUE(player.waitForScreen("\\|  \\.\\.")) << player.lastScreen();
    player.keys("Up");
    ASSERT_TRUE(player.waitForWindow()) << player.lastScreen();

    // The UTF-8 names show as themselves, and the file plays with its time
    // captions.
    ASSERT_TRUE(player.walkTo(tree / (kFolder + "/" + kName)))
        << "the cursor never reached an entry of the path (a name not shown as itself, or a hang)\n"
        << player.lastScreen();
    ASSERT_TRUE(player.waitForScreen("Elapsed Time : +00:0[1-6]")) << "no elapsed second (hang)\n"
                                                                   << player.lastScreen();
    const std::string playing = player.lastScreen();
    EXPECT_NE(playing.find("> " + kName), std::string::npos) << playing;
    EXPECT_TRUE(std::regex_search(playing, std::regex("Total Time : +00:07"))) << playing;
    EXPECT_EQ(playing.find('?'), std::string::npos) << "a character shown as '?'\n" << playing;

    // "b" stops: the captions go and the bar is empty.
    player.keys("b");
    ASSERT_TRUE(player.waitForScreen("\\.{20,} +0%")) << "no stop (hang)\n" << player.lastScreen();
    EXPECT_EQ(player.lastScreen().find("Time :"), std::string::npos) << player.lastScreen();

    // "r" returns to the root.
    player.keys("r");
    ASSERT_TRUE(player.waitForScreen("\\|  /bin ")) << "no root listing (hang)\n" << player.lastScreen();

    // Esc leaves: simhost ends well and the terminal is as it was.
    player.keys("Escape");
    int exitCode = -1;
    ASSERT_TRUE(player.waitForExit(exitCode)) << "simhost did not end (hang)\n" << player.lastScreen();
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(player.settingsAfter(), player.settingsBefore()) << "the terminal's settings changed";
    EXPECT_FALSE(player.settingsBefore().empty());
    EXPECT_EQ(player.pane("#{alternate_on}"), "0") << "still on the program's screen";
    EXPECT_EQ(player.pane("#{cursor_flag}"), "1") << "the cursor stays hidden";
    EXPECT_EQ(player.lastScreen().find("Lirva 0.0.2"), std::string::npos) << player.lastScreen();

    // What the device received is the start of the reference decode.
    const std::string captured = readFile(tree / "capture.raw"), reference = referenceDecode(kCorpusFile);
    ASSERT_FALSE(captured.empty());
    ASSERT_LT(captured.size(), reference.size()) << "the play was not stopped";
    EXPECT_TRUE(std::equal(captured.begin(), captured.end(), reference.begin())) << "bytes differ from the reference";
}

}  // namespace
