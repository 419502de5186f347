#ifndef LIRVA_ENGINE_PLAY_CLOCK_H
#define LIRVA_ENGINE_PLAY_CLOCK_H

#include <cstdint>

// Whole seconds of a time in seconds, truncated toward zero. Values beyond
// the 32-bit range saturate and NaN gives 0: a converted float that does not
// fit is undefined behaviour, and a damaged stream can produce one.
inline int32_t whole_seconds(float seconds)
{
    if (!(seconds == seconds))
        return 0;
    if (seconds >= 2147483648.0f)
        return INT32_MAX;
    if (seconds <= -2147483648.0f)
        return INT32_MIN;
    return static_cast<int32_t>(seconds);
}

// elapsed × 100 / total, truncated toward zero; not clamped to 100 (a stream
// may run past the length it announced). An unknown length (total 0) gives 0
// instead of dividing by zero.
inline int32_t percent_played(int32_t elapsed, int32_t total)
{
    if (total <= 0)
        return 0;
    int64_t p = int64_t{elapsed} * 100 / total;
    return p > INT32_MAX ? INT32_MAX : static_cast<int32_t>(p);
}

#endif
