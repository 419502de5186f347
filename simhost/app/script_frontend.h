#ifndef LIRVA_SIMHOST_APP_SCRIPT_FRONTEND_H
#define LIRVA_SIMHOST_APP_SCRIPT_FRONTEND_H

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <vector>

#include "emainloop.h"
#include "key_script.h"

// Plays a key script instead of a user: keys in order, waits in real time
// (the GUI loop and the play thread keep running meanwhile), and screen
// prints as text between marker lines. When the script is done it prints
// the final screen (unless the last step did) and then presses exit, as a
// user leaving the window would, until the modal loop ends.
class ScriptFrontend : public eFrontend {
public:
    static constexpr const char* kScreenBegin = "----- screen -----";
    static constexpr const char* kScreenEnd = "----- end screen -----";
    // Time between exit presses once the script is done, and how many
    // unanswered ones make the session hopeless.
    static constexpr std::chrono::milliseconds kExitInterval{100};
    static constexpr int kMaxExitPresses = 100;
    // How long an await= step waits for its text before it gives up.
    static constexpr std::chrono::seconds kAwaitLimit{60};

    ScriptFrontend(std::vector<ScriptStep> steps, int cols, int rows, bool printEachStep, std::ostream& out);

    // Called once when kMaxExitPresses exit presses have not closed the window.
    void onWindowStuck(std::function<void()> handler) { stuck_ = std::move(handler); }

    bool nextKey(eRCKey& key, int timeoutMs) override;
    void paint(const eWidget& top) override;

    // Prints the screen as it is now; GUI thread.
    void printScreen();
    int screensPrinted() const { return printed_; }

private:
    using Clock = std::chrono::steady_clock;

    bool finalPrintNeeded() const;
    bool pressExit(eRCKey& key, Clock::time_point deadline);
    // The next key towards the entry `text`; false once the cursor is there
    // (or the list does not show it, which is reported).
    bool keyTowards(const std::string& text, eRCKey& key);
    bool screenShows(const std::string& text);

    std::vector<ScriptStep> steps_;
    size_t next_ = 0;
    int cols_, rows_;
    bool printEach_;
    std::ostream& out_;
    std::function<void()> stuck_;

    const eWidget* top_ = nullptr;  // the window of the running modal loop
    bool printPending_ = false;     // print before the next step (after a key took effect)
    std::optional<Clock::time_point> waitUntil_;
    std::optional<Clock::time_point> awaitLimit_;
    size_t toDistance_ = SIZE_MAX;  // rows to go at the last key of a to= step
    bool finalDone_ = false;
    int exitPresses_ = 0;
    Clock::time_point lastExit_;
    int printed_ = 0;
};

#endif
