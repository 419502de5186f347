#ifndef LIRVA_ENGINE_PLAY_CLOCK_H
#define LIRVA_ENGINE_PLAY_CLOCK_H

#include <cstdint>

// The play position kept exactly, in integers: whole seconds, and the
// samples of the second under way at the rate of the latest frame. A float
// summed frame by frame drifts (an hour of 16-sample frames ends 8 minutes
// short, and at 192 kHz one-sample frames stop adding at all); counting
// samples does not. A frame at another rate carries the part-second over,
// scaled to the new rate.
struct PlayClock {
    uint64_t seconds;
    uint32_t samples;  // below `rate`
    uint32_t rate;     // of the latest frame; 0 before the first

    void reset() { seconds = samples = rate = 0; }

    // `count` samples at `frame_rate` Hz; a rate of 0 does not move the clock.
    void advance(uint32_t count, uint32_t frame_rate)
    {
        if (frame_rate == 0)
            return;
        if (frame_rate != rate) {
            samples = rate == 0 ? 0 : static_cast<uint32_t>(uint64_t{samples} * frame_rate / rate);
            rate = frame_rate;
        }
        // A frame's rate has 20 bits and its block 16: the sum fits in 32
        // bits, so each frame costs a 32-bit division, not a 64-bit one
        // (a library call on the box's CPU).
        const uint32_t sum = samples + count;
        seconds += sum / rate;
        samples = sum % rate;
    }

    // The position in seconds, as the record's float carries it.
    float position() const
    {
        const float part = rate == 0 ? 0.0f : static_cast<float>(samples) / static_cast<float>(rate);
        return static_cast<float>(seconds) + part;
    }
};

// A count of seconds as the record's signed 32-bit field: longer times
// saturate instead of wrapping.
inline int32_t seconds_field(uint64_t seconds)
{
    return seconds > INT32_MAX ? INT32_MAX : static_cast<int32_t>(seconds);
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
