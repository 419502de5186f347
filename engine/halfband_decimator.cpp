#include "halfband_decimator.h"

#include <cstring>

#include "fixed_point.h"

namespace {

// Frames taken into the buffer per step: bounds its size whatever a call
// hands over.
constexpr size_t chunk = 1024;

// One output per channel from the frame at `x`: the centre tap halves,
// the others weigh the sum of the two inputs at equal distance (the filter
// is symmetric), so each tap costs one multiplication for both.
template <unsigned channels>
void decimate(const int32_t* x, const int32_t* taps, size_t half_taps, int32_t* out)
{
    for (unsigned c = 0; c < channels; ++c) {
        int32_t acc = x[c] / 4;  // 1/2 in the product's Q28
        for (size_t k = 0; k < half_taps; ++k) {
            const ptrdiff_t off = static_cast<ptrdiff_t>((2 * k + 1) * channels);
            acc += multiply_high(x[c - off] + x[c + off], taps[k]);
        }
        out[c] = acc * 2;
    }
}

}  // namespace

void HalfbandDecimator::start(const HalfbandTable& table, unsigned channels)
{
    taps_ = table.taps;
    half_taps_ = static_cast<size_t>(table.half_taps);
    reach_ = 2 * half_taps_ - 1;
    channels_ = channels;
    buffer_.assign((2 * reach_ + chunk + 1) * channels, 0);
    // Silence before the stream: the first output is centred on its first input.
    held_ = reach_;
    centre_ = reach_;
}

void HalfbandDecimator::append(const int32_t* in, size_t frames)
{
    memcpy(&buffer_[held_ * channels_], in, frames * channels_ * sizeof(int32_t));
    held_ += frames;
}

// Every output centred before `last_centre` whose inputs are all there;
// then the history that later outputs need moves to the front.
size_t HalfbandDecimator::run(size_t last_centre, int32_t* out)
{
    size_t n = 0;
    for (; centre_ < last_centre && centre_ + reach_ < held_; centre_ += 2, ++n) {
        const int32_t* x = &buffer_[centre_ * channels_];
        if (channels_ == 2)
            decimate<2>(x, taps_, half_taps_, out + 2 * n);
        else
            decimate<1>(x, taps_, half_taps_, out + n);
    }
    const size_t keep_from = centre_ - reach_;
    memmove(buffer_.data(), &buffer_[keep_from * channels_], (held_ - keep_from) * channels_ * sizeof(int32_t));
    held_ -= keep_from;
    centre_ -= keep_from;
    return n;
}

size_t HalfbandDecimator::process(const int32_t* in, size_t frames, int32_t* out)
{
    size_t written = 0;
    while (frames > 0) {
        const size_t n = frames < chunk ? frames : chunk;
        append(in, n);
        written += run(held_, out + written * channels_);
        in += n * channels_;
        frames -= n;
    }
    return written;
}

size_t HalfbandDecimator::drain(int32_t* out)
{
    const size_t last = held_;
    memset(&buffer_[held_ * channels_], 0, reach_ * channels_ * sizeof(int32_t));
    held_ += reach_;
    const size_t n = run(last, out);
    start({static_cast<int>(half_taps_), taps_}, channels_);
    return n;
}
