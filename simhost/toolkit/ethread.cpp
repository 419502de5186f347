// eThread: a pthread that kill() ends by waking it until it returns, or by
// cancelling it (thread_private.h), and then joins.
#include "ethread.h"

#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "thread_private.h"

namespace {
// Ignored by default, so one arriving before the handler is installed is harmless.
constexpr int wakeSignal = SIGURG;
// How often a thread that has not ended yet is woken again.
constexpr std::chrono::milliseconds wakeInterval(1);

std::atomic<ThreadKill> killMode{ThreadKill::cooperative};
thread_local eThread* currentThread = nullptr;

void ignoreWakeSignal(int)
{ }

void installWakeHandler()
{
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction action { };
        action.sa_handler = ignoreWakeSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = 0;  // no SA_RESTART: blocking calls return early
        sigaction(wakeSignal, &action, nullptr);
    });
}
}  // namespace

struct eThread::Private {
    explicit Private(eThread& owner) : self(owner) { }

    static Private& of(const eThread& t) { return *t.d; }
    static void* start(void* self);

    void killWaking(std::unique_lock<std::mutex>& lock);
    void killCancelling(std::unique_lock<std::mutex>& lock);
    void waitForEnd();
    // With the lock held and the thread ended: the first caller joins it.
    void joinOnce()
    {
        if (!joined) {
            joined = true;
            pthread_join(tid, nullptr);
        }
    }

    eThread& self;
    pthread_t tid{};
    std::mutex mutex;
    std::condition_variable ended;
    bool started = false;
    bool running = false;    // until thread() and thread_finished() have ended
    bool finishing = false;  // thread_finished() has begun on the thread
    bool cancelling = false;
    bool joined = false;
};

void setThreadKill(ThreadKill how)
{
    killMode = how;
}

bool parseThreadKill(const std::string& name, ThreadKill& how)
{
    if (name == "cooperative")
        how = ThreadKill::cooperative;
    else if (name == "cancel")
        how = ThreadKill::cancel;
    else if (name == "early")
        how = ThreadKill::early;
    else
        return false;
    return true;
}

eThread::eThread() : d(new Private(*this))
{ }

eThread::~eThread()
{
    kill(true);  // harmless when never started or already joined
    d->waitForEnd();  // after a kill that returned at once
    delete d;
}

void eThread::thread_finished()
{ }

int eThread::run(int /*prio*/, int /*policy*/)
{
    installWakeHandler();
    std::lock_guard<std::mutex> lock(d->mutex);
    if (d->started)
        return -1;
    d->started = true;
    d->running = true;
    if (pthread_create(&d->tid, nullptr, &Private::start, d) != 0) {
        d->running = false;
        d->started = false;
        return -1;
    }
    return 0;
}

void* eThread::Private::start(void* self)
{
    Private& d = *static_cast<Private*>(self);
    currentThread = &d.self;
    d.self.thread();
    // A cancellation from here on waits: thread_finished() runs once, whole.
    pthread_setcancelstate(PTHREAD_CANCEL_DISABLE, nullptr);
    {
        std::lock_guard<std::mutex> lock(d.mutex);
        d.finishing = true;
    }
    d.self.thread_finished();
    currentThread = nullptr;

    std::lock_guard<std::mutex> lock(d.mutex);
    d.running = false;
    d.ended.notify_all();
    return nullptr;
}

void eThread::kill(bool /*hard*/)
{
    if (currentThread == this)
        return;  // a thread ends itself by returning
    std::unique_lock<std::mutex> lock(d->mutex);
    if (!d->started)
        return;
    switch (killMode.load()) {
    case ThreadKill::cancel: d->killCancelling(lock); break;
    case ThreadKill::early: break;
    case ThreadKill::cooperative: d->killWaking(lock); break;
    }
}

void eThread::Private::killWaking(std::unique_lock<std::mutex>& lock)
{
    while (running) {
        // running only turns false under the lock, so the thread still exists.
        pthread_kill(tid, wakeSignal);
        ended.wait_for(lock, wakeInterval);
    }
    joinOnce();
}

void eThread::Private::killCancelling(std::unique_lock<std::mutex>& lock)
{
    if (cancelling || joined) {
        ended.wait(lock, [this] { return joined; });
        return;
    }
    cancelling = true;
    lock.unlock();
    pthread_cancel(tid);
    void* exit = nullptr;
    pthread_join(tid, &exit);
    lock.lock();
    const bool cutShort = exit == PTHREAD_CANCELED && !finishing;
    lock.unlock();
    if (cutShort)
        self.thread_finished();
    lock.lock();
    joined = true;
    running = false;
    ended.notify_all();
}

void eThread::Private::waitForEnd()
{
    std::unique_lock<std::mutex> lock(mutex);
    if (!started)
        return;
    ended.wait(lock, [this] { return joined || (!running && !cancelling); });
    joinOnce();
}

void waitForThread(eThread& t)
{
    eThread::Private::of(t).waitForEnd();
}
