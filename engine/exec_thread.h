#ifndef LIRVA_ENGINE_EXEC_THREAD_H
#define LIRVA_ENGINE_EXEC_THREAD_H

#include <ethread.h>
#include <estring.h>
#include <sigc++/signal.h>

#include <atomic>

// The play thread of one file: sets up the audio device and plays the file
// through a decoder session. When the thread ends, returned or stopped, its
// end closes a session that a stop left open and emits `finished`.
//
// Threads are reclaimed by the GUI thread once they have ended (never from
// inside their own end, which runs on the thread itself).
class ExecThread : public eThread {
public:
    explicit ExecThread(eString path);
    ~ExecThread() override;

    void start();

    eString command;                     // the path of the file to play
    int result = 0;                      // carried by `finished`
    sigc::signal<void(int)> finished;    // emitted once, on the thread's end

    // Deletes every started thread that has ended (joining it). GUI thread.
    static void reclaimEnded();
    // Stops every started thread and deletes them all. GUI thread.
    static void stopAll();
    // Threads created and not yet reclaimed.
    static int count();

protected:
    void thread() override;
    void thread_finished() override;

private:
    bool started_ = false;
};

// The thread of the file that plays, or null. Written on the GUI thread and
// at a play thread's end, read on the GUI thread: hence atomic.
extern std::atomic<ExecThread*> execThread;

#endif
