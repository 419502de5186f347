#include "exec_thread.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "cancel_point.h"
#include "decoder_session.h"
#include "file_info.h"
#include "play_run.h"

std::atomic<ExecThread*> execThread{nullptr};

namespace {

// Every thread object not yet reclaimed. Only the GUI thread creates and
// deletes them; the lock keeps count() safe from anywhere, and
// `threadEnded` wakes stopAll() when a thread's end has run.
std::mutex registryMutex;
std::condition_variable threadEnded;
std::vector<ExecThread*> registry;

template <class Pick>
std::vector<ExecThread*> takeFromRegistry(Pick pick)
{
    std::lock_guard<std::mutex> lock(registryMutex);
    auto split = std::stable_partition(registry.begin(), registry.end(), [&](ExecThread* t) { return !pick(t); });
    std::vector<ExecThread*> taken(split, registry.end());
    registry.erase(split, registry.end());
    return taken;
}

// Forgets `t` as the current play thread before it goes away.
void reclaim(ExecThread* t)
{
    ExecThread* expected = t;
    execThread.compare_exchange_strong(expected, nullptr);
#if LIRVA_RECLAIM_THREADS
    delete t;
#endif
}

}  // namespace

ExecThread::ExecThread(eString path) : command(std::move(path))
{
    std::lock_guard<std::mutex> lock(registryMutex);
    registry.push_back(this);
}

ExecThread::~ExecThread()
{
    std::lock_guard<std::mutex> lock(registryMutex);
    registry.erase(std::remove(registry.begin(), registry.end(), this), registry.end());
}

void ExecThread::start()
{
    started_ = true;
    run(0, 0);
}

void ExecThread::stop()
{
    control_.stop();  // also wakes a paused play
    kill(true);
}

void ExecThread::thread()
{
    hold_back_cancellation();
    play_run(command.c_str(), control_, through_folder);
    played_ = true;
    result = 0;
}

void ExecThread::thread_finished()
{
    // Stopped while a session was open: close it here.
    if (file_info.is_playing)
        decoder_destructor();
    // Forgotten as the current play only while it still is that: a late end
    // must not forget the play that replaced it.
    ExecThread* self = this;
    execThread.compare_exchange_strong(self, nullptr);
    finished(result);
    // The last thing done for this object on the host's end-of-thread path.
    std::lock_guard<std::mutex> lock(registryMutex);
    ended_ = true;
    threadEnded.notify_all();
}

void ExecThread::awaitEnd()
{
    if (!started_)
        return;
    std::unique_lock<std::mutex> lock(registryMutex);
    threadEnded.wait(lock, [this] { return ended_.load(); });
}

void ExecThread::reclaimEnded()
{
    for (ExecThread* t : takeFromRegistry([](ExecThread* t) { return t->ended_.load(); }))
        reclaim(t);
}

void ExecThread::stopAll()
{
    std::vector<ExecThread*> started = takeFromRegistry([](ExecThread* t) { return t->started_.load(); });
    for (ExecThread* t : started)
        if (!t->ended_)
            t->stop();
    // A host whose kill returns before the end is waited for here: no
    // thread may reach the window after it has gone.
    for (ExecThread* t : started) {
        t->awaitEnd();
        reclaim(t);
    }
}

int ExecThread::count()
{
    std::lock_guard<std::mutex> lock(registryMutex);
    return static_cast<int>(registry.size());
}
