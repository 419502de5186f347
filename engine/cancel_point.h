#ifndef LIRVA_ENGINE_CANCEL_POINT_H
#define LIRVA_ENGINE_CANCEL_POINT_H

#include <pthread.h>

// A host may end a thread by POSIX cancellation instead of waiting for it.
// The play thread holds cancellation back everywhere (nothing may be left
// half-done: a decoder block half-read, a lock held) and lets it through
// only around a blocking call that is safe to abandon, such as the device
// write; the end-of-thread handler then closes the session as after any stop.

// For the whole of a play thread: cancellation waits for a cancel point.
inline void hold_back_cancellation()
{
    pthread_setcancelstate(PTHREAD_CANCEL_DISABLE, nullptr);
}

// Runs `call` with cancellation let through, then restores the state the
// thread had.
template <class Call>
auto cancel_point(Call call)
{
    int previous;
    pthread_setcancelstate(PTHREAD_CANCEL_ENABLE, &previous);
    auto result = call();
    pthread_setcancelstate(previous, nullptr);
    return result;
}

#endif
