#include "script_frontend.h"

#include <gtest/gtest.h>

#include <chrono>
#include <sstream>

#include "player_window_fixture.h"

namespace {

int count(const std::string& text, const std::string& needle)
{
    int n = 0;
    for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1))
        ++n;
    return n;
}

// Asks for keys as the modal loop does, until `n` keys came.
std::vector<eRCKey> takeKeys(ScriptFrontend& f, size_t n)
{
    std::vector<eRCKey> keys;
    for (int tries = 0; keys.size() < n && tries < 1000; ++tries) {
        eRCKey k;
        if (f.nextKey(k, 50))
            keys.push_back(k);
    }
    return keys;
}

TEST(ScriptFrontend, PlaysTheStepsPrintsWhenAskedAndThenLeavesTheWindow)
{
    const eRCKey down = eRCKey::down, up = eRCKey::up, ok = eRCKey::ok, exit = eRCKey::exit;
    const struct {
        const char* script;
        bool printEach;
        std::vector<eRCKey> keys;
        int screens;
    } cases[] = {
        {"down print ok", false, {down, ok, exit, exit}, 2},  // the print step and the final screen
        {"down wait=10 up", true, {down, up, exit}, 3},       // one per step, no extra final one
        {"down print", false, {down, exit}, 1},               // the last step printed the final screen
        {"", false, {exit}, 1},
    };
    for (const auto& c : cases) {
        PlayerWindowLayout ui;
        std::ostringstream out;
        ScriptFrontend f(parseScript(c.script).steps, 60, 24, c.printEach, out);
        f.paint(ui.window);
        ui.line3->setText("changed after the last paint");  // a print shows the window as it is then
        EXPECT_EQ(takeKeys(f, c.keys.size()), c.keys) << c.script;
        EXPECT_EQ(f.screensPrinted(), c.screens) << c.script;
        const std::string text = out.str();
        EXPECT_EQ(count(text, ScriptFrontend::kScreenBegin), c.screens) << text;
        EXPECT_EQ(count(text, ScriptFrontend::kScreenEnd), c.screens) << text;
        EXPECT_EQ(count(text, "changed after"), c.screens) << text;
        EXPECT_EQ(count(text, "\n"), c.screens * (24 + 2)) << "24 rows between the marker lines\n" << text;
    }
}

TEST(ScriptFrontend, WaitsInRealTimeAndGivesTheLoopControlMeanwhile)
{
    PlayerWindowLayout ui;
    std::ostringstream out;
    ScriptFrontend f(parseScript("wait=200 ok").steps, 90, 36, false, out);
    f.paint(ui.window);

    const auto start = std::chrono::steady_clock::now();
    eRCKey k{};
    while (!f.nextKey(k, 50)) { }
    EXPECT_EQ(k, eRCKey::ok);
    const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    EXPECT_GE(waited.count(), 200) << "ms";

    // A wait far longer than the loop's: the loop gets control back to repaint.
    ScriptFrontend minute(parseScript("wait=60000 ok").steps, 90, 36, false, out);
    minute.paint(ui.window);
    EXPECT_FALSE(minute.nextKey(k, 1));
}

}  // namespace
