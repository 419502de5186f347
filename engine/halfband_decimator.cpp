#include "halfband_decimator.h"

#include "fixed_point.h"

namespace {

// One output per channel from the frame at `x`: the centre tap halves,
// the others weigh the sum of the two inputs at equal distance (the filter
// is symmetric), so each tap costs one multiplication for both; both
// channels share each coefficient load.
template <unsigned channels>
void decimate(const int32_t* x, const int32_t* taps, size_t half_taps, int32_t* out)
{
    int32_t acc[channels];
    for (unsigned c = 0; c < channels; ++c)
        acc[c] = x[c] / 4;  // 1/2 in the product's Q28
    // Two pointers walking out from the centre, and the loop unrolled:
    // the taps' offsets become constants, with no index arithmetic between
    // the multiplications.
    const int32_t* before = x - channels;
    const int32_t* after = x + channels;
#pragma GCC unroll 8
    for (size_t k = 0; k < half_taps; ++k) {
        for (unsigned c = 0; c < channels; ++c)
            acc[c] += multiply_high(before[c] + after[c], taps[k]);
        before -= 2 * channels;
        after += 2 * channels;
    }
    for (unsigned c = 0; c < channels; ++c)
        out[c] = acc[c] * 2;
}

}  // namespace

void HalfbandDecimator::start(const HalfbandTable& table, unsigned channels)
{
    table_ = &table;
    reach_ = 2 * static_cast<size_t>(table.half_taps) - 1;
    // Silence before the stream: the first output is centred on its first input.
    buffer_.reset(channels, 3 * reach_ + 1, reach_);
    centre_ = reach_;
}

// Every output centred before `last_centre` whose inputs are all there;
// then the history that later outputs need moves to the front.
size_t HalfbandDecimator::run(size_t last_centre, int32_t* out)
{
    const unsigned channels = buffer_.channels();
    const size_t half_taps = static_cast<size_t>(table_->half_taps);
    size_t n = 0;
    for (; centre_ < last_centre && centre_ + reach_ < buffer_.held(); centre_ += 2, ++n) {
        if (channels == 2)
            decimate<2>(buffer_.frame(centre_), table_->taps, half_taps, out + 2 * n);
        else
            decimate<1>(buffer_.frame(centre_), table_->taps, half_taps, out + n);
    }
    buffer_.drop_before(centre_ - reach_);
    centre_ = reach_;
    return n;
}

size_t HalfbandDecimator::process(const int32_t* in, size_t frames, int32_t* out)
{
    return buffer_.feed(in, frames, out, [&](int32_t* to) { return run(buffer_.held(), to); });
}

size_t HalfbandDecimator::drain(int32_t* out)
{
    const size_t last = buffer_.held();
    buffer_.append_silence(reach_);
    const size_t n = run(last, out);
    start(*table_, buffer_.channels());
    return n;
}
