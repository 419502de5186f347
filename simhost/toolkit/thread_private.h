#ifndef LIRVA_SIMHOST_THREAD_PRIVATE_H
#define LIRVA_SIMHOST_THREAD_PRIVATE_H

#include <string>

class eThread;

// How the stand-in's eThread::kill() ends a thread. The first two return
// once the thread and its thread_finished() have ended; the third does not.
enum class ThreadKill {
    // Keeps waking the thread's blocking system calls with a signal
    // (without SA_RESTART: they fail with EINTR or return a partial count)
    // until the thread has ended by itself; thread_finished() runs on it.
    cooperative,
    // Like a host that ends threads by POSIX cancellation: cancels the
    // thread, joins it and, when the cancellation ended it before its
    // thread_finished(), runs that on the killing thread.
    cancel,
    // Like a host whose kill returns at once: the thread ends by itself
    // once its blocking call returns and its work sees the stop request;
    // thread_finished() runs on it.
    early,
};

// Set before threads are started; cooperative by default.
void setThreadKill(ThreadKill how);
// "cooperative", "cancel" or "early"; false for anything else.
bool parseThreadKill(const std::string& name, ThreadKill& how);

// For the toolkit's own tests and tools: waits until the thread and its
// thread_finished() have ended, without asking the thread to stop, and
// joins it.
void waitForThread(eThread& t);

#endif
