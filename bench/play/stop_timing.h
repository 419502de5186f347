#ifndef LIRVA_BENCH_PLAY_STOP_TIMING_H
#define LIRVA_BENCH_PLAY_STOP_TIMING_H

// What the stop measurements share: times in milliseconds, percentiles of a
// sample, and a window pause that takes no time (the pause after replacing
// a play is the window's, not what these programs measure).
#include <algorithm>
#include <chrono>
#include <vector>

namespace stop_timing {

using Clock = std::chrono::steady_clock;

inline double ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

// The value at fraction `p` (0 to 1) of the sorted sample, nearest rank.
inline double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v[static_cast<size_t>(p * static_cast<double>(v.size() - 1) + 0.5)];
}

inline unsigned noPause(unsigned)
{
    return 0;
}

}  // namespace stop_timing

#endif
