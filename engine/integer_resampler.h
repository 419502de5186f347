#ifndef LIRVA_ENGINE_INTEGER_RESAMPLER_H
#define LIRVA_ENGINE_INTEGER_RESAMPLER_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "halfband_decimator.h"
#include "polyphase_resampler.h"

// The rate step for the common rates, in integer arithmetic with constant
// filters: 2:1 stages from 88.2, 96, 176.4 and 192 kHz down to the
// device's rate or to 44.1 or 48 kHz, then, between those two families, a
// polyphase filter. Interleaved Q29 frames (fixed_point.h) of one or two
// channels. Other conversions are the RateConverter's.
class IntegerResampler {
public:
    // Whether it converts `in_rate` to `out_rate` (different rates).
    static bool converts(uint32_t in_rate, uint32_t out_rate);

    // False (and stopped) when it does not convert these rates.
    bool start(unsigned channels, uint32_t in_rate, uint32_t out_rate);
    void stop() { active_ = false; }
    bool active() const { return active_; }

    // The most frames that `in_frames` input frames, and a drain, can give.
    size_t max_output(size_t in_frames) const;

    // Takes all `frames` frames of `in`; returns the frames written to `out`.
    size_t process(const int32_t* in, size_t frames, int32_t* out);

    // The end of the stream: the frames its last inputs still give. The
    // filters start afresh afterwards.
    size_t drain(int32_t* out);

private:
    static constexpr size_t chunk = 512;

    size_t through_polyphase(const int32_t* in, size_t frames, int32_t* out);

    bool active_ = false;
    unsigned channels_ = 1;
    int halvings_ = 0;
    HalfbandDecimator halves_[2];
    bool crosses_ = false;  // between 44.1 and 48 kHz after the halvings
    PolyphaseResampler polyphase_;
    std::vector<int32_t> stage_out_[2];
};

#endif
