#include "run_control.h"

#include <lirva_dialog.h>

#include "now_playing.h"

namespace {
thread_local RunControl* current_run = nullptr;
}

void RunControl::stop()
{
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
    track_end_ = true;
    resumed_.notify_all();
}

void RunControl::next()
{
    std::lock_guard<std::mutex> lock(mutex_);
    track_end_ = true;
    resumed_.notify_all();
}

void RunControl::toggle_pause()
{
    std::lock_guard<std::mutex> lock(mutex_);
    paused_ = !paused_;
    resumed_.notify_all();
}

bool RunControl::paused() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return paused_;
}

bool RunControl::begin_track()
{
    // Under the lock: a stop that comes while a skip is forgotten stays.
    std::lock_guard<std::mutex> lock(mutex_);
    if (stop_)
        return false;
    track_end_ = false;
    paused_ = false;
    return true;
}

void RunControl::wait_while_paused()
{
    std::unique_lock<std::mutex> lock(mutex_);
    resumed_.wait(lock, [this] { return !paused_ || track_end_; });
}

void bind_run_control(RunControl* control)
{
    current_run = control;
}

void hold_while_paused()
{
    if (current_run == nullptr || !current_run->paused())
        return;
    // Shown once the play really holds, cleared when it goes on.
    now_playing.paused = true;
    eLirvaDialog::DisplayTrack();
    current_run->wait_while_paused();
    now_playing.paused = false;
    eLirvaDialog::DisplayTrack();
}
