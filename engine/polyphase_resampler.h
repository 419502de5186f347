#ifndef LIRVA_ENGINE_POLYPHASE_RESAMPLER_H
#define LIRVA_ENGINE_POLYPHASE_RESAMPLER_H

#include <cstddef>
#include <cstdint>
#include "filter_tables.h"
#include "frame_buffer.h"

// Interleaved Q29 frames of one or two channels from one rate to up/down
// times it, through a table of filter phases. Output n falls at input time
// n x down/up, so the output lines up with the input; drain() gives the
// last outputs, which wait for samples after them. The filter's state
// carries across calls.
class PolyphaseResampler {
public:
    // Where the next output falls: the first frame of the buffer it weighs,
    // and its place between inputs, in 1/up.
    struct Position {
        size_t window = 0;
        unsigned phase = 0;
    };
    // The outputs whose windows start before frame `end` of `frames`.
    using Kernel = size_t (*)(const int32_t* frames, size_t end, const PolyphaseTable& table, Position& at,
                              int32_t* out);

    void start(const PolyphaseTable& table, unsigned channels);

    // The most frames that `in_frames` input frames, and a drain, can give.
    size_t max_output(size_t in_frames) const;

    // Takes all `frames` frames of `in`; returns the frames written to `out`.
    size_t process(const int32_t* in, size_t frames, int32_t* out);

    // The end of the stream: the outputs up to its last input. The filter
    // starts afresh afterwards.
    size_t drain(int32_t* out);

private:
    size_t run(size_t last_input, int32_t* out);

    const PolyphaseTable* table_ = nullptr;
    Kernel kernel_ = nullptr;
    size_t taps_ = 0;
    FrameBuffer buffer_;
    Position at_;
};

#endif
