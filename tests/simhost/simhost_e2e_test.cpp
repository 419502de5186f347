// Runs the real simhost with the real plug-in, headless, and walks the file
// system with remote-control keys.
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "simhost_run.h"

namespace {

using namespace simhost_run;

// A small tree under /tmp whose name sorts before nearly every other
// directory there, so that the walk to it is short and stable.
class E2eTree {
public:
    E2eTree() {
        char name[] = "/tmp/!lirva-e2e-XXXXXX";
        if (mkdtemp(name)) root_ = name;
        if (root_.empty()) return;
        mkdir((root_ + "/sub").c_str(), 0755);
        for (const char* f : {"a.flac", "B.FLAC", "notes.txt"}) std::ofstream(root_ + "/" + f) << "x";
        if (symlink("a.flac", (root_ + "/link.flac").c_str()) != 0) perror("symlink");
        std::ofstream(script()) << "";
    }
    ~E2eTree() {
        for (const char* f : {"a.flac", "B.FLAC", "notes.txt", "link.flac", "keys"}) unlink((root_ + "/" + f).c_str());
        rmdir((root_ + "/sub").c_str());
        rmdir(root_.c_str());
    }
    const std::string& root() const { return root_; }
    std::string script() const { return root_ + "/keys"; }
    std::string name() const { return root_.substr(root_.rfind('/') + 1); }

private:
    std::string root_;
};

TEST(SimhostEndToEnd, WalksIntoADirectoryAndBackWithTheRealPlugin) {
    E2eTree tree;
    ASSERT_FALSE(tree.root().empty());
    const int toTmp = indexOf(playerListing("/"), "/tmp");
    const std::vector<std::string> tmpListing = playerListing("/tmp");
    const int toTree = indexOf(tmpListing, "/" + tree.name());
    ASSERT_GE(toTmp, 0);
    ASSERT_GE(toTree, 0);

    std::ofstream(tree.script()) << "# into the tree\n"
                                 << repeat("down", toTmp) << "ok\n"
                                 << repeat("down", toTree) << "ok print\n"
                                 << "ok print   # '..' is the first row\n"
                                 << "red print\n";
    const RunResult r = run(simhost("--script " + tree.script() + " " LIRVA_PLUGIN));
    ASSERT_EQ(r.exitCode, 0) << r.output;
    const std::vector<std::string> shown = screens(r.output);
    ASSERT_EQ(shown.size(), 3u) << r.output;

    const std::string& inTree = shown[0];
    EXPECT_NE(inTree.find("Lirva 0.0.2"), std::string::npos) << inTree;
    EXPECT_NE(inTree.find("[red] Root"), std::string::npos);
    EXPECT_NE(inTree.find("[blue] Stop"), std::string::npos);
    const size_t up = rowOf(inTree, "..", true), sub = rowOf(inTree, "/sub"), upper = rowOf(inTree, "B.FLAC"),
                 lower = rowOf(inTree, "a.flac");
    ASSERT_NE(up, std::string::npos) << inTree;
    ASSERT_NE(sub, std::string::npos) << inTree;
    ASSERT_NE(upper, std::string::npos) << inTree;
    ASSERT_NE(lower, std::string::npos) << inTree;
    EXPECT_TRUE(up < sub && sub < upper && upper < lower) << "sorted byte by byte\n" << inTree;
    EXPECT_EQ(inTree.find("notes.txt"), std::string::npos);
    EXPECT_EQ(inTree.find("link.flac"), std::string::npos);

    const std::string& backInTmp = shown[1];
    EXPECT_NE(rowOf(backInTmp, "..", true), std::string::npos) << backInTmp;
    EXPECT_EQ(rowOf(backInTmp, "/sub"), std::string::npos) << backInTmp;
    if (toTree < 15) {   // on the first page
        EXPECT_NE(rowOf(backInTmp, "/" + tree.name()), std::string::npos) << backInTmp;
    }

    const std::string& atRoot = shown[2];
    const std::vector<std::string> rootListing = playerListing("/");
    EXPECT_NE(rowOf(atRoot, "..", true), std::string::npos) << atRoot;
    ASSERT_GT(rootListing.size(), 1u);
    EXPECT_NE(rowOf(atRoot, rootListing[1]), std::string::npos) << atRoot;
    EXPECT_EQ(rowOf(atRoot, "/" + tree.name()), std::string::npos) << atRoot;
}

TEST(SimhostEndToEnd, PrintsOnceAndLeavesWhenHeadlessWithoutSteps) {
    const RunResult r = run(simhost("--headless --size 60x20 " LIRVA_PLUGIN));
    ASSERT_EQ(r.exitCode, 0) << r.output;
    const std::vector<std::string> shown = screens(r.output);
    ASSERT_EQ(shown.size(), 1u) << r.output;
    EXPECT_EQ(std::count(shown[0].begin(), shown[0].end(), '\n'), 20);
    EXPECT_NE(rowOf(shown[0], "..", true), std::string::npos) << shown[0];
}

TEST(SimhostEndToEnd, ReportsPluginsItCannotUseAndPassesOnTheResult) {
    RunResult r = run(simhost("--headless " FAKE_PLUGIN_WITH_ENTRY));
    EXPECT_EQ(r.exitCode, 7) << r.output;

    r = run(simhost("--headless " FAKE_PLUGIN_WITHOUT_ENTRY " 2>&1"));
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.output.find("plugin_exec"), std::string::npos) << r.output;

    r = run(simhost("--headless /nonexistent/lirva.so 2>&1"));
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.output.find("cannot load plug-in"), std::string::npos) << r.output;

    r = run(simhost("--keys 'down sideways' " LIRVA_PLUGIN " 2>&1"));
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.output.find("sideways"), std::string::npos) << r.output;
}

}  // namespace
