#ifndef LIRVA_HOST_ETHREAD_H
#define LIRVA_HOST_ETHREAD_H

#include <pthread.h>

#include <atomic>
#include <condition_variable>
#include <mutex>

// A thread that runs the virtual thread() and, when that returns, the
// virtual thread_finished(), both on the new thread.
//
// Stopping is cooperative: kill() sets a stop request that code running on
// the thread reads with stopRequested(), and keeps waking the thread from
// blocking system calls (a signal without SA_RESTART, so they fail with
// EINTR or return a partial count) until thread() and thread_finished() have
// both returned, then joins the thread.
class eThread {
public:
    eThread();
    // The thread must have ended (or never started); a running one is
    // stopped and joined first.
    virtual ~eThread();
    eThread(const eThread&) = delete;
    eThread& operator=(const eThread&) = delete;

    // Starts the thread. Arguments (priority, policy) are accepted and
    // ignored. Returns 0, or -1 when the thread was already started.
    int run(int prio = 0, int policy = 0);

    // Asks the thread to stop and waits until thread() and thread_finished()
    // have ended. Harmless on a thread that ended or never started. Called
    // from the thread itself it only sets the request.
    void kill(bool hard = false);

    // Waits until thread() and thread_finished() have ended, without asking
    // the thread to stop, and joins it.
    void wait();

    // True from run() until thread_finished() has returned.
    bool thread_running() const;

    // For code that runs on an eThread: true once kill() has been called on
    // the calling thread's eThread. False on any other thread.
    static bool stopRequested();

protected:
    virtual void thread() = 0;
    virtual void thread_finished() {}

private:
    static void* start(void* self);
    void join();

    pthread_t tid_{};
    std::atomic<bool> started_{false};
    std::atomic<bool> stop_{false};
    std::atomic<bool> running_{false};
    std::mutex mutex_;
    std::condition_variable ended_;
    bool joined_ = false;
};

#endif
