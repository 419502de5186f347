#include "play_stop.h"

namespace {
thread_local const std::atomic<bool>* current_request = nullptr;
}

void bind_play_stop(const std::atomic<bool>* request)
{
    current_request = request;
}

bool play_stop_requested()
{
    return current_request != nullptr && current_request->load();
}
