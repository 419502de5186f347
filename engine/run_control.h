#ifndef LIRVA_ENGINE_RUN_CONTROL_H
#define LIRVA_ENGINE_RUN_CONTROL_H

#include <atomic>
#include <condition_variable>
#include <mutex>

// What the user asks of a run of tracks while it plays: stop the whole run,
// skip to the next track, pause and resume. The GUI thread asks; the play
// thread looks at it between frames and waits on it while paused, without
// using the CPU. A stop or a skip wakes a paused play at once.
class RunControl {
public:
    // GUI thread.
    void stop();
    void next();
    void toggle_pause();
    bool paused() const;

    // Play thread. Set while the current track is to end, by a stop or a
    // skip: the play's stop request (bind_play_stop).
    const std::atomic<bool>* track_end() const { return &track_end_; }
    bool stopped() const { return stop_; }
    // Before the next track: forgets a skip and a pause. False once the run
    // is to stop.
    bool begin_track();
    // Returns once the run is not paused, or the track is to end.
    void wait_while_paused();

private:
    mutable std::mutex mutex_;
    std::condition_variable resumed_;
    bool paused_ = false;
    std::atomic<bool> stop_{false};
    std::atomic<bool> track_end_{false};
};

// The run that plays on the calling thread, for the sample writer; null
// unbinds it.
void bind_run_control(RunControl* control);

// Holds the calling thread while its run is paused, and says so on the
// track lines meanwhile; returns at once on a thread without a run.
void hold_while_paused();

#endif
