// Plays a corpus file with the real plug-in in the real simhost, through the
// simulated device at real-time speed, and stops it with the blue key or by
// leaving the window. What the device received must be the start of the
// reference decode, and the screen must show the play and then the idle state.
#include <stdlib.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "simhost_run.h"

namespace {

using namespace simhost_run;
namespace fs = std::filesystem;

const std::string kCorpusFile = LIRVA_CORPUS_DIR "/subset-01-blocksize-4096.flac";
// A name that a shell would split, quote or run something from.
const std::string kPlayedName = "it's a tune; $(touch ran).flac";
constexpr size_t kBytesPerSecond = 44100 * 2 * 2;

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The line of `screen` that holds `caption`; "" when none does.
std::string lineWith(const std::string& screen, const std::string& caption) {
    const size_t at = screen.find(caption);
    if (at == std::string::npos) return "";
    const size_t begin = screen.rfind('\n', at) + 1;   // npos + 1 == 0 on the first line
    return screen.substr(begin, screen.find('\n', at) - begin);
}

// The percentage the progress bar shows, or -1 when none is on screen.
int barPercent(const std::string& screen) {
    std::smatch m;
    if (!std::regex_search(screen, m, std::regex("[#.]+ +([0-9]{1,3})%"))) return -1;
    return std::stoi(m[1]);
}

// A directory under /tmp whose name sorts before nearly every other there
// (a short walk from "/"), holding one copy of the corpus file.
class PlayTree {
public:
    PlayTree() {
        char name[] = "/tmp/!lirva-play-XXXXXX";
        if (!mkdtemp(name)) return;
        root_ = name;
        fs::copy_file(kCorpusFile, root_ + "/" + kPlayedName);
    }
    ~PlayTree() {
        std::error_code ignored;
        if (!root_.empty()) fs::remove_all(root_, ignored);
    }
    const std::string& root() const { return root_; }
    std::string operator/(const std::string& name) const { return root_ + "/" + name; }

    // The reference decode of the played file, as the device must receive it.
    std::string referenceBytes() const {
        const std::string out = *this / "ref.raw";
        const RunResult r = run("flac -d -s -f --force-raw-format --endian=big --sign=signed -o " +
                                shellQuoted(out) + " " + shellQuoted(kCorpusFile) + " 2>&1");
        EXPECT_EQ(r.exitCode, 0) << "the reference decoder failed: " << r.output;
        return readAll(out);
    }

    // Runs simhost on the real plug-in with `afterSelecting` as the steps
    // once the file has been selected, at real-time device speed.
    RunResult play(const std::string& afterSelecting) const {
        const std::string walk = keysToEnter(root_);
        const std::string pick = keysToEntry(root_, kPlayedName);
        EXPECT_FALSE(walk.empty()) << "no walk to " << root_;
        std::ofstream(*this / "keys") << walk << pick << "ok\n" << afterSelecting << "\n";
        return run("cd " + shellQuoted(root_) + " && LIRVA_DSP_SPEED=1 LIRVA_DSP_CAPTURE=" +
                   shellQuoted(*this / "cap.raw") + " " + simhost("--script keys " LIRVA_PLUGIN));
    }

private:
    std::string root_;
};

// The captured bytes are the first part of the reference, cut short.
void expectCutShortPrefix(const std::string& captured, const std::string& reference) {
    ASSERT_FALSE(reference.empty());
    EXPECT_FALSE(captured.empty());
    EXPECT_LT(captured.size(), reference.size()) << "the play was not stopped";
    const size_t n = std::min(captured.size(), reference.size());
    const auto diff = std::mismatch(captured.begin(), captured.begin() + n, reference.begin());
    EXPECT_EQ(diff.first, captured.begin() + n)
        << "capture differs from the reference at byte " << (diff.first - captured.begin()) << " of "
        << captured.size();
}

TEST(SimhostPlayEndToEnd, ShowsThePlayAndStopsItWithTheBlueKey) {
    PlayTree tree;
    ASSERT_FALSE(tree.root().empty());
    // One to two and a half seconds of sound by the print, even when the
    // play thread is slow to start (sanitizer builds on a loaded machine):
    // the device never runs ahead of the clock.
    const RunResult r = tree.play("wait=2500 print blue print");
    ASSERT_EQ(r.exitCode, 0) << r.output;
    const std::vector<std::string> shown = screens(r.output);
    ASSERT_EQ(shown.size(), 2u) << r.output;

    const std::string& playing = shown[0];
    EXPECT_NE(rowOf(playing, kPlayedName, true), std::string::npos) << playing;
    const std::string total = lineWith(playing, "Total Time : ");
    const std::string elapsed = lineWith(playing, "Elapsed Time : ");
    EXPECT_NE(total.find("00:07"), std::string::npos) << playing;
    EXPECT_TRUE(elapsed.find("00:01") != std::string::npos || elapsed.find("00:02") != std::string::npos)
        << playing;
    const int percent = barPercent(playing);
    EXPECT_GT(percent, 0) << playing;
    EXPECT_LT(percent, 50) << playing;

    const std::string& stopped = shown[1];
    EXPECT_EQ(stopped.find("Time :"), std::string::npos) << stopped;
    EXPECT_EQ(stopped.find("00:0"), std::string::npos) << stopped;
    EXPECT_EQ(barPercent(stopped), 0) << stopped;

    const std::string captured = readAll(tree / "cap.raw");
    expectCutShortPrefix(captured, tree.referenceBytes());
    // The screen said a whole second had played: the device has it.
    EXPECT_GE(captured.size(), kBytesPerSecond);
    EXPECT_FALSE(fs::exists(tree / "ran")) << "something ran the file name";
}

TEST(SimhostPlayEndToEnd, LeavingTheWindowWhilePlayingStopsThePlay) {
    PlayTree tree;
    ASSERT_FALSE(tree.root().empty());
    const RunResult r = tree.play("wait=1200 exit");
    ASSERT_EQ(r.exitCode, 0) << r.output;
    expectCutShortPrefix(readAll(tree / "cap.raw"), tree.referenceBytes());
}

}  // namespace
