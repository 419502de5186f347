#ifndef LIRVA_ENGINE_EXEC_THREAD_H
#define LIRVA_ENGINE_EXEC_THREAD_H

#include <ethread.h>
#include <estring.h>
#include <sigc++/sigc++.h>

#include <atomic>

#include "run_control.h"

// The play thread of one file, or of a run through its folder: sets up the
// audio device and plays the file through a decoder session. When the thread ends, returned or stopped, its
// end closes a session that a stop left open and emits `finished`.
//
// Of the host's thread it uses run() and kill() only. The stop request is
// the thread's own record, set before kill(); whether kill() waits for the
// end, or ends the thread by cancellation, is the host's.
//
// Threads are reclaimed by the GUI thread once their own record says they
// have ended (never from inside their end, which may run on the thread
// itself). This needs a host that no longer touches an eThread once its
// thread_finished() has returned, or whose destructor waits for that; with
// LIRVA_RECLAIM_THREADS off, ended threads are forgotten and leak instead.
class ExecThread : public eThread {
public:
    explicit ExecThread(eString path);
    ~ExecThread() override;

    void start();
    // Asks the play to stop, then kills the thread. GUI thread.
    void stop();
    // Skips to the next track, pauses or resumes the run. GUI thread.
    void next() { control_.next(); }
    void pause() { control_.toggle_pause(); }
    bool paused() const { return control_.paused(); }
    // True once thread_finished() has done everything it does.
    bool ended() const { return ended_; }
    // Waits until a started thread has ended, whether or not the host's
    // kill() waited for that. GUI thread.
    void awaitEnd();
    // True from start() until the play (device set-up, opening the session
    // and decoding) is over: the thread is not yet in its after-play step.
    bool in_play() const { return started_ && !played_ && !ended_; }

    eString command;                   // the path of the file to play
    bool through_folder = false;       // then the folder's following FLAC files
    int result = 0;                    // carried by `finished`
    SigC::Signal1<void, int> finished;  // emitted once, on the thread's end

    // Deletes every started thread that has ended. GUI thread.
    static void reclaimEnded();
    // Stops every started thread, waits until each has ended and deletes
    // them all. GUI thread.
    static void stopAll();
    // Threads created and not yet reclaimed.
    static int count();

protected:
    void thread() override;
    void thread_finished() override;

private:
    std::atomic<bool> started_{false};
    RunControl control_;
    std::atomic<bool> played_{false};
    std::atomic<bool> ended_{false};
};

// The thread of the file that plays, or null. Written on the GUI thread and
// at a play thread's end (which clears it only while it still names that
// thread), read on the GUI thread: hence atomic.
extern std::atomic<ExecThread*> execThread;

#endif
