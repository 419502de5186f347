#include "exec_thread.h"

#include <algorithm>
#include <mutex>
#include <vector>

#include "audio_device.h"
#include "decoder_session.h"
#include "file_info.h"

std::atomic<ExecThread*> execThread{nullptr};

namespace {

// Every thread object not yet reclaimed. Only the GUI thread creates and
// deletes them; the lock keeps count() safe from anywhere.
std::mutex registryMutex;
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
    delete t;
}

}  // namespace

ExecThread::ExecThread(eString path) : command(std::move(path))
{
    std::lock_guard<std::mutex> lock(registryMutex);
    registry.push_back(this);
}

ExecThread::~ExecThread()
{
    kill(true);   // joins; harmless when the thread has ended
    std::lock_guard<std::mutex> lock(registryMutex);
    registry.erase(std::remove(registry.begin(), registry.end(), this), registry.end());
}

void ExecThread::start()
{
    started_ = true;
    run(0, 0);
}

void ExecThread::thread()
{
    audio_device_open();
    play_file(command.c_str());
    // Nothing is run on the played path after the play: no shell ever sees
    // a file name.
    result = 0;
}

void ExecThread::thread_finished()
{
    // Stopped while a session was open: close it here.
    if (file_info.is_playing)
        decoder_destructor();
    finished(result);
}

void ExecThread::reclaimEnded()
{
    for (ExecThread* t : takeFromRegistry([](ExecThread* t) { return t->started_ && !t->thread_running(); })) {
        t->wait();
        reclaim(t);
    }
}

void ExecThread::stopAll()
{
    for (ExecThread* t : takeFromRegistry([](ExecThread* t) { return t->started_; })) {
        t->kill(true);
        reclaim(t);
    }
}

int ExecThread::count()
{
    std::lock_guard<std::mutex> lock(registryMutex);
    return static_cast<int>(registry.size());
}
