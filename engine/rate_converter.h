#ifndef LIRVA_ENGINE_RATE_CONVERTER_H
#define LIRVA_ENGINE_RATE_CONVERTER_H

#include <cstddef>
#include <cstdint>

struct SpeexResamplerState_;

// The rate step: interleaved 16-bit samples from the stream's rate to the
// device's, through libspeexdsp's resampler and its integer interface
// (native in a fixed-point build of the library, for a CPU without FPU).
// One converter lives for a whole play: its filter state carries across
// frames, and drain() lets out the last samples at the end.
class RateConverter {
public:
    // libspeexdsp's quality (0 to 10) for a conversion: 4 where it costs
    // no more than from 48 to 44.1 kHz, lower for streams at several times
    // the device's rate (the filter grows with the ratio). Measured in
    // bench/engine/resampler_quality.cpp and scripts/bench-instructions.sh.
    static int quality_for(uint32_t in_rate, uint32_t out_rate);

    RateConverter() = default;
    ~RateConverter();
    RateConverter(const RateConverter&) = delete;
    RateConverter& operator=(const RateConverter&) = delete;

    // Sets the converter up for `channels` channels from `in_rate` to
    // `out_rate` (both nonzero), with the filter's delay skipped so the
    // output lines up with the input. False when the library cannot (no
    // memory); the converter is then stopped.
    bool start(unsigned channels, uint32_t in_rate, uint32_t out_rate);

    // Frees the filter; start() may follow.
    void stop();

    bool active() const { return state_ != nullptr; }

    // The most frames that `in_frames` input frames (and a drain) can give.
    size_t max_output(size_t in_frames) const;

    // Converts up to `in_frames` frames of `in`, writing at most
    // `out_capacity` frames to `out`. Returns the frames written.
    size_t process(const int16_t* in, size_t in_frames, int16_t* out, size_t out_capacity);

    // The end of the stream: feeds the filter silence as long as its delay
    // and returns the frames of the stream's last samples written to `out`
    // (max_output(0) frames at most).
    size_t drain(int16_t* out, size_t out_capacity);

private:
    SpeexResamplerState_* state_ = nullptr;
    unsigned channels_ = 0;
    uint32_t in_rate_ = 0;
    uint32_t out_rate_ = 0;
    size_t delay_ = 0;  // input frames held back by the filter
};

#endif
