#include "polyphase_resampler.h"

#include <cstring>

#include "fixed_point.h"

namespace {

// Frames taken into the buffer per step: bounds its size whatever a call
// hands over.
constexpr size_t chunk = 1024;

// One output per channel: the inner product of one phase with the window
// of input frames at `x`. Both channels share each coefficient load.
template <unsigned channels>
void interpolate(const int32_t* x, const int32_t* phase, size_t taps, int32_t* out)
{
    int32_t acc[channels] = {};
    for (size_t j = 0; j < taps; ++j)
        for (unsigned c = 0; c < channels; ++c)
            acc[c] += multiply_high(x[j * channels + c], phase[j]);
    for (unsigned c = 0; c < channels; ++c)
        out[c] = acc[c] * 4;  // Q27 back to Q29
}

}  // namespace

void PolyphaseResampler::start(const PolyphaseTable& table, unsigned channels)
{
    table_ = &table;
    taps_ = static_cast<size_t>(table.taps);
    channels_ = channels;
    buffer_.assign((2 * taps_ + chunk) * channels, 0);
    // Silence before the stream: the first output falls on its first input.
    held_ = taps_ / 2 - 1;
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
    while (window_ + before < last_input && window_ + taps_ <= held_) {
        const int32_t* x = &buffer_[window_ * channels_];
        const int32_t* phase = table_->coefficients + size_t{phase_} * taps_;
        if (channels_ == 2)
            interpolate<2>(x, phase, taps_, out + 2 * n);
        else
            interpolate<1>(x, phase, taps_, out + n);
        ++n;
        // down/up is near 1: a subtraction or two, not a division (slow on the box).
        for (phase_ += down; phase_ >= up; phase_ -= up)
            ++window_;
    }
    const size_t keep_from = window_ < held_ ? window_ : held_;
    memmove(buffer_.data(), &buffer_[keep_from * channels_], (held_ - keep_from) * channels_ * sizeof(int32_t));
    held_ -= keep_from;
    window_ -= keep_from;
    return n;
}

size_t PolyphaseResampler::process(const int32_t* in, size_t frames, int32_t* out)
{
    size_t written = 0;
    while (frames > 0) {
        const size_t n = frames < chunk ? frames : chunk;
        memcpy(&buffer_[held_ * channels_], in, n * channels_ * sizeof(int32_t));
        held_ += n;
        written += run(held_, out + written * channels_);
        in += n * channels_;
        frames -= n;
    }
    return written;
}

size_t PolyphaseResampler::drain(int32_t* out)
{
    const size_t last = held_;
    const size_t after = taps_ / 2;
    memset(&buffer_[held_ * channels_], 0, after * channels_ * sizeof(int32_t));
    held_ += after;
    const size_t n = run(last, out);
    start(*table_, channels_);
    return n;
}
