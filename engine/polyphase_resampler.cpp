#include "polyphase_resampler.h"

#include "fixed_point.h"

namespace {

// One output per channel: the inner product of one phase with the window
// of input frames at `x`. Both channels share each coefficient load. With
// `fixed_taps` (not 0) the phase's length is a constant of the instance
// and the tap loop unrolls fully, with constant offsets and no branch.
template <unsigned channels, size_t fixed_taps>
void interpolate(const int32_t* x, const int32_t* phase, size_t taps, int32_t* out)
{
    if constexpr (fixed_taps != 0)
        taps = fixed_taps;
    for (unsigned c = 0; c < channels; ++c) {
        int32_t acc = 0;
#pragma GCC unroll 64
        for (size_t j = 0; j < taps; ++j)
            acc += multiply_high(x[j * channels + c], phase[j]);
        out[c] = acc * 4;  // Q27 back to Q29
    }
}

template <unsigned channels>
PolyphaseResampler::Kernel kernel_for(int taps)
{
    switch (taps) {
    case polyphase_48k_to_44k_phase_taps: return interpolate<channels, polyphase_48k_to_44k_phase_taps>;
    case polyphase_44k_to_48k_phase_taps: return interpolate<channels, polyphase_44k_to_48k_phase_taps>;
    case polyphase_48k_to_44k_hires_phase_taps: return interpolate<channels, polyphase_48k_to_44k_hires_phase_taps>;
    default: return interpolate<channels, 0>;
    }
}

}  // namespace

void PolyphaseResampler::start(const PolyphaseTable& table, unsigned channels)
{
    table_ = &table;
    kernel_ = channels == 2 ? kernel_for<2>(table.taps) : kernel_for<1>(table.taps);
    taps_ = static_cast<size_t>(table.taps);
    // Silence before the stream: the first output falls on its first input.
    buffer_.reset(channels, 2 * taps_, taps_ / 2 - 1);
    window_ = 0;
    phase_ = 0;
}

size_t PolyphaseResampler::max_output(size_t in_frames) const
{
    if (table_ == nullptr)
        return 0;
    const uint64_t in = uint64_t{in_frames} + taps_;
    return static_cast<size_t>(in * static_cast<unsigned>(table_->up) / static_cast<unsigned>(table_->down) + 2);
}

// Every output whose time is before input frame `last_input` of the buffer
// and whose window is all there; then the history that later outputs need
// moves to the front.
size_t PolyphaseResampler::run(size_t last_input, int32_t* out)
{
    const unsigned up = static_cast<unsigned>(table_->up);
    const unsigned down = static_cast<unsigned>(table_->down);
    const size_t before = taps_ / 2 - 1;  // window frames before the output's input
    size_t n = 0;
    while (window_ + before < last_input && window_ + taps_ <= buffer_.held()) {
        const int32_t* x = buffer_.frame(window_);
        const int32_t* phase = table_->coefficients + size_t{phase_} * taps_;
        kernel_(x, phase, taps_, out + n * buffer_.channels());
        ++n;
        // down/up is near 1: a subtraction or two, not a division (slow on the box).
        for (phase_ += down; phase_ >= up; phase_ -= up)
            ++window_;
    }
    const size_t keep_from = window_ < buffer_.held() ? window_ : buffer_.held();
    buffer_.drop_before(keep_from);
    window_ -= keep_from;
    return n;
}

size_t PolyphaseResampler::process(const int32_t* in, size_t frames, int32_t* out)
{
    return buffer_.feed(in, frames, out, [&](int32_t* to) { return run(buffer_.held(), to); });
}

size_t PolyphaseResampler::drain(int32_t* out)
{
    const size_t last = buffer_.held();
    buffer_.append_silence(taps_ / 2);
    const size_t n = run(last, out);
    start(*table_, buffer_.channels());
    return n;
}
