#include "script_frontend.h"

#include <algorithm>
#include <mutex>
#include <thread>

#include "screen_painter.h"
#include "tree_lock.h"

ScriptFrontend::ScriptFrontend(std::vector<ScriptStep> steps, int cols, int rows, bool printEachStep,
                               std::ostream& out)
    : steps_(std::move(steps)), cols_(cols), rows_(rows), printEach_(printEachStep), out_(out) {}

void ScriptFrontend::paint(const eWidget& top) {
    // Nothing to show until a step asks; remember which window to print.
    top_ = &top;
}

void ScriptFrontend::printScreen() {
    std::string text;
    if (top_) {
        std::lock_guard<std::recursive_mutex> lock(widgetTreeLock());
        text = paintScreen(*top_, cols_, rows_).toText();
    } else {
        text = ScreenGrid(cols_, rows_).toText();   // nothing painted yet
    }
    out_ << kScreenBegin << '\n' << text << kScreenEnd << '\n';
    out_.flush();
    ++printed_;
}

bool ScriptFrontend::finalPrintNeeded() const {
    if (steps_.empty()) return true;
    return !printEach_ && steps_.back().kind != ScriptStep::Kind::print;
}

bool ScriptFrontend::nextKey(eRCKey& key, int timeoutMs) {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 1));
    for (;;) {
        if (printPending_) {
            printPending_ = false;
            printScreen();
        }
        if (waitUntil_) {
            std::this_thread::sleep_until(std::min(*waitUntil_, deadline));
            if (Clock::now() < *waitUntil_) return false;   // let the loop run and repaint
            waitUntil_.reset();
            printPending_ = printEach_;
            continue;
        }
        if (next_ < steps_.size()) {
            const ScriptStep& step = steps_[next_++];
            switch (step.kind) {
            case ScriptStep::Kind::key:
                key = step.key;
                printPending_ = printEach_;   // once the key has been handled
                return true;
            case ScriptStep::Kind::wait:
                waitUntil_ = Clock::now() + std::chrono::milliseconds(step.waitMs);
                continue;
            case ScriptStep::Kind::print:
                printScreen();
                continue;
            }
        }
        if (!finalDone_) {
            finalDone_ = true;
            if (finalPrintNeeded()) printScreen();
        }
        return pressExit(key, deadline);
    }
}

bool ScriptFrontend::pressExit(eRCKey& key, Clock::time_point deadline) {
    if (exitPresses_ > 0) {
        const Clock::time_point due = lastExit_ + kExitInterval;
        std::this_thread::sleep_until(std::min(due, deadline));
        if (Clock::now() < due) return false;
    }
    if (exitPresses_ == kMaxExitPresses && stuck_) stuck_();
    ++exitPresses_;
    lastExit_ = Clock::now();
    key = eRCKey::exit;
    return true;
}
