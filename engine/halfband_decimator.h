#ifndef LIRVA_ENGINE_HALFBAND_DECIMATOR_H
#define LIRVA_ENGINE_HALFBAND_DECIMATOR_H

#include <cstddef>
#include <cstdint>
#include "filter_tables.h"
#include "frame_buffer.h"

// One 2:1 stage: interleaved Q29 frames of one or two channels to half the
// rate through a half-band filter. Output n is centred on input 2n, so the
// output lines up with the input; drain() gives the last outputs, which
// wait for samples after them. The filter's state carries across calls.
class HalfbandDecimator {
public:
    // `outputs` outputs from the frames centred at `centre`, centre + 2, ...
    using Kernel = void (*)(const int32_t* centre, size_t outputs, const int32_t* taps, size_t half_taps,
                            int32_t* out);

    void start(const HalfbandTable& table, unsigned channels);

    // The most frames that `in_frames` input frames, and a drain, can give.
    static size_t max_output(size_t in_frames) { return in_frames / 2 + 2; }

    // Takes all `frames` frames of `in`; returns the frames written to `out`.
    size_t process(const int32_t* in, size_t frames, int32_t* out);

    // The end of the stream: the outputs centred on its last inputs. The
    // filter starts afresh afterwards.
    size_t drain(int32_t* out);

private:
    size_t run(size_t last_centre, int32_t* out);

    const HalfbandTable* table_ = nullptr;
    Kernel kernel_ = nullptr;
    size_t reach_ = 0;  // inputs on each side of the centre: 2 x half_taps - 1
    FrameBuffer buffer_;
    size_t centre_ = 0;  // frame of buffer_ that the next output is centred on
};

#endif
