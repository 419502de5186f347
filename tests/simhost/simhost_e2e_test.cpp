// Runs the real simhost headless: the real plug-in walking the file system
// with remote-control keys, and plug-ins or scripts it cannot use.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "simhost_run.h"
#include "temp_tree.h"

namespace {

using namespace simhost_run;

TEST(SimhostEndToEnd, WalksIntoADirectoryAndBackWithTheRealPlugin)
{
    TempTree tree("!lirva-e2e");  // sorts near the top of /tmp, so its row is on the screen
    mkdir((tree / "sub").c_str(), 0755);
    for (const char* f : {"a.flac", "B.FLAC", "notes.txt"})
        std::ofstream(tree / f) << "x";
    ASSERT_EQ(symlink("a.flac", (tree / "link.flac").c_str()), 0);
    const std::string walk = keysTo(tree.path());
    ASSERT_FALSE(walk.empty());

    std::ofstream(tree / "keys") << "# into the tree\n" << walk << "print\nok print  # '..' is row 1\nred print";
    const RunResult r = run(simhost("--script " + shellQuoted(tree / "keys") + " " LIRVA_PLUGIN));
    ASSERT_EQ(r.exitCode, 0) << r.output;
    const std::vector<std::string> shown = screens(r.output);
    ASSERT_EQ(shown.size(), 3u) << r.output;

    const std::string& inTree = shown[0];
    for (const char* text : {"Lirva 0.0.2", "[red] Root", "[blue] Stop"})
        EXPECT_NE(inTree.find(text), std::string::npos) << text << "\n" << inTree;
    size_t previous = 0;
    for (const std::string entry : {"..", "/sub", "B.FLAC", "a.flac"}) {  // byte order
        const size_t at = rowOf(inTree, entry, entry == "..");
        EXPECT_TRUE(at != std::string::npos && at > previous) << entry << "\n" << inTree;
        previous = at;
    }
    for (const char* unlisted : {"notes.txt", "link.flac"})
        EXPECT_EQ(inTree.find(unlisted), std::string::npos);

    // Up to /tmp, then Root to "/": each listing with the cursor on "..".
    // /tmp is shown by the tree's own entry; its other entries come and go
    // with whatever else runs on the machine.
    const std::string treeEntry = "/" + fs::path(tree.path()).filename().string();
    EXPECT_NE(rowOf(shown[1], "..", true), std::string::npos) << shown[1];
    EXPECT_NE(rowOf(shown[1], treeEntry), std::string::npos) << shown[1];
    EXPECT_EQ(rowOf(shown[1], "/sub"), std::string::npos) << shown[1];
    EXPECT_NE(rowOf(shown[2], "..", true), std::string::npos) << shown[2];
    EXPECT_EQ(rowOf(shown[2], treeEntry), std::string::npos) << shown[2];
}

TEST(SimhostEndToEnd, PassesOnThePluginsResultAndReportsWhatItCannotUse)
{
    const struct {
        std::string args;
        int exitCode;
        size_t screens;
        std::string says;
    } runs[] = {
        {"--headless --size 60x20 " LIRVA_PLUGIN, 0, 1, "> .."},  // no steps: one print, then leave
        {"--headless " FAKE_PLUGIN_WITH_ENTRY, 7, 0, ""},
        {"--headless " FAKE_PLUGIN_WITHOUT_ENTRY, 2, 0, "plugin_exec"},
        {"--headless /nonexistent/lirva.so", 2, 0, "cannot load plug-in"},
        {"--keys 'down sideways' " LIRVA_PLUGIN, 2, 0, "sideways"},
    };
    for (const auto& c : runs) {
        const RunResult r = run(simhost(c.args + " 2>&1"));
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args << "\n" << r.output;
        EXPECT_NE(r.output.find(c.says), std::string::npos) << c.args << "\n" << r.output;
        const std::vector<std::string> shown = screens(r.output);
        ASSERT_EQ(shown.size(), c.screens) << c.args << "\n" << r.output;
        for (const std::string& s : shown)
            EXPECT_EQ(std::count(s.begin(), s.end(), '\n'), 20) << s;
    }
}

}  // namespace
