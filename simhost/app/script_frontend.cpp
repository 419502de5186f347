#include "script_frontend.h"

#include <algorithm>
#include <iostream>
#include <mutex>
#include <thread>

#include "entry_keys.h"
#include "screen_painter.h"
#include "tree_lock.h"

ScriptFrontend::ScriptFrontend(std::vector<ScriptStep> steps, int cols, int rows, bool printEachStep, std::ostream& out)
    : steps_(std::move(steps)), cols_(cols), rows_(rows), printEach_(printEachStep), out_(out)
{ }

void ScriptFrontend::paint(const eWidget& top)
{
    // Nothing to show until a step asks; remember which window to print.
    top_ = &top;
}

void ScriptFrontend::printScreen()
{
    std::string text;
    if (top_) {
        std::lock_guard<std::recursive_mutex> lock(widgetTreeLock());
        text = paintScreen(*top_, cols_, rows_).toText();
    } else {
        text = ScreenGrid(cols_, rows_).toText();  // nothing painted yet
    }
    out_ << kScreenBegin << '\n' << text << kScreenEnd << '\n';
    out_.flush();
    ++printed_;
}

bool ScriptFrontend::finalPrintNeeded() const
{
    if (steps_.empty())
        return true;
    return !printEach_ && steps_.back().kind != ScriptStep::Kind::print;
}

bool ScriptFrontend::nextKey(eRCKey& key, int timeoutMs)
{
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 1));
    for (;;) {
        if (printPending_) {
            printPending_ = false;
            printScreen();
        }
        if (waitUntil_) {
            std::this_thread::sleep_until(std::min(*waitUntil_, deadline));
            if (Clock::now() < *waitUntil_)
                return false;  // let the loop run and repaint
            waitUntil_.reset();
            printPending_ = printEach_;
            continue;
        }
        if (next_ < steps_.size() && steps_[next_].kind == ScriptStep::Kind::await) {
            const std::string& text = steps_[next_].entry;
            if (!awaitLimit_)
                awaitLimit_ = Clock::now() + kAwaitLimit;
            const bool shown = screenShows(text);
            if (!shown && Clock::now() < *awaitLimit_) {
                std::this_thread::sleep_until(std::min(Clock::now() + std::chrono::milliseconds(10), deadline));
                return false;  // let the loop run and repaint
            }
            if (!shown)
                std::cerr << "simhost: await=" << text << ": not shown within a minute\n";
            awaitLimit_.reset();
            ++next_;
            printPending_ = printEach_;
            continue;
        }
        if (next_ < steps_.size() && steps_[next_].kind == ScriptStep::Kind::to) {
            if (keyTowards(steps_[next_].entry, key)) {
                printPending_ = printEach_;
                return true;
            }
            toDistance_ = SIZE_MAX;
            ++next_;
            continue;
        }
        if (next_ < steps_.size()) {
            const ScriptStep& step = steps_[next_++];
            switch (step.kind) {
            case ScriptStep::Kind::key:
                key = step.key;
                printPending_ = printEach_;  // once the key has been handled
                return true;
            case ScriptStep::Kind::wait: waitUntil_ = Clock::now() + std::chrono::milliseconds(step.waitMs); continue;
            case ScriptStep::Kind::print: printScreen(); continue;
            case ScriptStep::Kind::to:
            case ScriptStep::Kind::await: continue;  // handled above
            }
        }
        if (!finalDone_) {
            finalDone_ = true;
            if (finalPrintNeeded())
                printScreen();
        }
        return pressExit(key, deadline);
    }
}

bool ScriptFrontend::screenShows(const std::string& text)
{
    if (!top_)
        return false;
    std::lock_guard<std::recursive_mutex> lock(widgetTreeLock());
    return paintScreen(*top_, cols_, rows_).toText().find(text) != std::string::npos;
}

bool ScriptFrontend::keyTowards(const std::string& text, eRCKey& key)
{
    const eWidget* top = eMainloop::instance().modalWidget();
    std::optional<std::vector<eRCKey>> keys;
    if (top) {
        std::lock_guard<std::recursive_mutex> lock(widgetTreeLock());
        keys = keysToEntry(*top, text);
    }
    if (!keys) {
        std::cerr << "simhost: to=" << text << ": not in the list\n";
        return false;
    }
    if (keys->empty())
        return false;
    if (keys->size() >= toDistance_) {  // the last key did not move the cursor nearer
        std::cerr << "simhost: to=" << text << ": the cursor does not get there\n";
        return false;
    }
    toDistance_ = keys->size();
    key = keys->front();
    return true;
}

bool ScriptFrontend::pressExit(eRCKey& key, Clock::time_point deadline)
{
    if (exitPresses_ > 0) {
        const Clock::time_point due = lastExit_ + kExitInterval;
        std::this_thread::sleep_until(std::min(due, deadline));
        if (Clock::now() < due)
            return false;
    }
    if (exitPresses_ == kMaxExitPresses && stuck_)
        stuck_();
    ++exitPresses_;
    lastExit_ = Clock::now();
    key = eRCKey::exit;
    return true;
}
