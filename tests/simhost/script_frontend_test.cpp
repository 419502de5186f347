#include "script_frontend.h"

#include <gtest/gtest.h>

#include <chrono>
#include <sstream>

#include "player_window_fixture.h"

namespace {

int count(const std::string& text, const std::string& needle) {
    int n = 0;
    for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) ++n;
    return n;
}

std::vector<ScriptStep> steps(const char* text) {
    ParsedScript s = parseScript(text);
    EXPECT_TRUE(s.ok()) << s.error;
    return s.steps;
}

// Asks for keys as the modal loop does, until `n` keys came.
std::vector<eRCKey> takeKeys(ScriptFrontend& f, size_t n) {
    std::vector<eRCKey> keys;
    for (int tries = 0; keys.size() < n && tries < 1000; ++tries) {
        eRCKey k;
        if (f.nextKey(k, 50)) keys.push_back(k);
    }
    return keys;
}

TEST(ScriptFrontend, PlaysKeysPrintsAndThenLeavesTheWindow) {
    PlayerWindowLayout ui;
    std::ostringstream out;
    ScriptFrontend f(steps("down print ok"), 90, 36, false, out);
    f.paint(ui.window);

    const std::vector<eRCKey> keys = takeKeys(f, 4);
    EXPECT_EQ(keys, (std::vector<eRCKey>{eRCKey::down, eRCKey::ok, eRCKey::exit, eRCKey::exit}));
    // The print step and the final screen.
    EXPECT_EQ(f.screensPrinted(), 2);
    EXPECT_EQ(count(out.str(), ScriptFrontend::kScreenBegin), 2);
    EXPECT_EQ(count(out.str(), ScriptFrontend::kScreenEnd), 2);
    EXPECT_EQ(count(out.str(), "Lirva 0.0.2"), 2);
}

TEST(ScriptFrontend, PrintsEachStepOnceAndNoExtraFinalScreen) {
    PlayerWindowLayout ui;
    std::ostringstream out;
    ScriptFrontend f(steps("down wait=10 up"), 90, 36, true, out);
    f.paint(ui.window);
    takeKeys(f, 3);   // down, up, exit
    EXPECT_EQ(f.screensPrinted(), 3);

    std::ostringstream out2;
    ScriptFrontend last(steps("down print"), 90, 36, false, out2);
    last.paint(ui.window);
    takeKeys(last, 2);
    EXPECT_EQ(last.screensPrinted(), 1) << "the script's last step printed the final screen";

    std::ostringstream out3;
    ScriptFrontend empty({}, 90, 36, false, out3);
    empty.paint(ui.window);
    EXPECT_EQ(takeKeys(empty, 1), std::vector<eRCKey>{eRCKey::exit});
    EXPECT_EQ(empty.screensPrinted(), 1);
}

TEST(ScriptFrontend, WaitsInRealTimeAndGivesTheLoopControlMeanwhile) {
    PlayerWindowLayout ui;
    std::ostringstream out;
    ScriptFrontend f(steps("wait=200 ok"), 90, 36, false, out);
    f.paint(ui.window);

    const auto start = std::chrono::steady_clock::now();
    int idle = 0;
    eRCKey k{};
    while (!f.nextKey(k, 50)) ++idle;
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(k, eRCKey::ok);
    EXPECT_GE(waited, std::chrono::milliseconds(200));
    EXPECT_GE(idle, 3) << "the loop must get control back to repaint during a wait";
}

TEST(ScriptFrontend, PrintsTheWindowAsItIsAtThatStep) {
    PlayerWindowLayout ui;
    std::ostringstream out;
    ScriptFrontend f(steps("print"), 60, 24, false, out);
    f.paint(ui.window);
    ui.line3->setText("changed after the last paint");
    takeKeys(f, 1);
    const std::string text = out.str();
    EXPECT_NE(text.find("changed after"), std::string::npos) << text;
    // 24 rows between the marker lines.
    const size_t begin = text.find('\n') + 1, end = text.find(ScriptFrontend::kScreenEnd);
    EXPECT_EQ(count(text.substr(begin, end - begin), "\n"), 24);
}

}  // namespace
