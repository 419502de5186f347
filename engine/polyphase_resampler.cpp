#include "polyphase_resampler.h"

#include "fixed_point.h"

namespace {

// One output per channel: one phase's inner product with the window of
// frames at `x`. With `fixed_taps` (not 0) the phase's length is a constant
// of the instance and the tap loop unrolls fully, with constant offsets and
// no branch. Not inlined into the loop over outputs: there the compiler
// would keep every tap's address live across the loop, more than a 32-bit
// CPU has registers for.
template <unsigned channels, size_t fixed_taps>
[[gnu::noinline]] void inner_product(const int32_t* x, const int32_t* h, size_t taps, int32_t* out)
{
    if constexpr (fixed_taps != 0)
        taps = fixed_taps;
    for (unsigned c = 0; c < channels; ++c) {
        int32_t acc = 0;
#pragma GCC unroll 64
        for (size_t j = 0; j < taps; ++j)
            acc += multiply_high(x[j * channels + c], h[j]);
        out[c] = acc * 4;  // Q27 back to Q29
    }
}

// The outputs whose windows start before frame `end` of `frames`.
template <unsigned channels, size_t fixed_taps>
size_t interpolate(const int32_t* frames, size_t end, const PolyphaseTable& table, PolyphaseResampler::Position& at,
                   int32_t* out)
{
    const size_t taps = fixed_taps != 0 ? fixed_taps : static_cast<size_t>(table.taps);
    const unsigned up = static_cast<unsigned>(table.up);
    const unsigned down = static_cast<unsigned>(table.down);
    size_t window = at.window;
    unsigned phase = at.phase;
    size_t n = 0;
    for (; window < end; ++n, out += channels) {
        const int32_t* x = frames + window * channels;
        const int32_t* h = table.coefficients + size_t{phase} * taps;
        inner_product<channels, fixed_taps>(x, h, taps, out);
        // down/up is near 1: a subtraction or two, not a division (slow on the box).
        for (phase += down; phase >= up; phase -= up)
            ++window;
    }
    at = {window, phase};
    return n;
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
    at_ = {};
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
    const size_t before = taps_ / 2 - 1;  // window frames before the output's input
    const size_t held = buffer_.held();
    size_t end = held >= taps_ ? held - taps_ + 1 : 0;  // windows all there
    if (last_input < before + end)
        end = last_input > before ? last_input - before : 0;
    const size_t n = kernel_(buffer_.frame(0), end, *table_, at_, out);
    const size_t keep_from = at_.window < held ? at_.window : held;
    buffer_.drop_before(keep_from);
    at_.window -= keep_from;
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
