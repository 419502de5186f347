// eThread: a pthread with a cooperative stop. kill() sets a flag and keeps
// interrupting the thread's blocking system calls with a signal whose
// handler does nothing, until the thread has ended; then joins it.
#include "ethread.h"

#include <signal.h>

#include <chrono>

namespace {
// Ignored by default, so one arriving before the handler is installed is harmless.
constexpr int wakeSignal = SIGURG;
// How often a thread that has not ended yet is woken again.
constexpr std::chrono::milliseconds wakeInterval(1);

thread_local eThread* currentThread = nullptr;

void ignoreWakeSignal(int)
{
}

void installWakeHandler()
{
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction action {};
        action.sa_handler = ignoreWakeSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = 0;   // no SA_RESTART: blocking calls return early
        sigaction(wakeSignal, &action, nullptr);
    });
}
}

eThread::eThread() = default;

eThread::~eThread()
{
    kill(true);   // harmless when never started or already joined
}

int eThread::run(int /*prio*/, int /*policy*/)
{
    installWakeHandler();
    std::lock_guard<std::mutex> lock(mutex_);
    if (started_)
        return -1;
    // Set before the thread exists, so a kill() from the new thread counts.
    started_ = true;
    running_ = true;
    if (pthread_create(&tid_, nullptr, &eThread::start, this) != 0) {
        running_ = false;
        started_ = false;
        return -1;
    }
    return 0;
}

void* eThread::start(void* self)
{
    auto* thread = static_cast<eThread*>(self);
    currentThread = thread;
    thread->thread();
    thread->thread_finished();
    currentThread = nullptr;

    std::lock_guard<std::mutex> lock(thread->mutex_);
    thread->running_ = false;
    thread->ended_.notify_all();
    return nullptr;
}

void eThread::kill(bool /*hard*/)
{
    if (!started_)
        return;
    stop_ = true;
    if (currentThread == this)
        return;   // the thread stops itself by returning

    std::unique_lock<std::mutex> lock(mutex_);
    while (running_) {
        // running_ only turns false under mutex_, so the thread still exists.
        pthread_kill(tid_, wakeSignal);
        ended_.wait_for(lock, wakeInterval);
    }
    join();
}

void eThread::wait()
{
    if (!started_ || currentThread == this)
        return;
    std::unique_lock<std::mutex> lock(mutex_);
    ended_.wait(lock, [this] { return !running_; });
    join();
}

// With mutex_ held and the thread ended: exactly one caller joins.
void eThread::join()
{
    if (joined_ || !started_)
        return;
    joined_ = true;
    pthread_join(tid_, nullptr);
}

bool eThread::thread_running() const
{
    return running_;
}

bool eThread::stopRequested()
{
    return currentThread && currentThread->stop_;
}
