#include "halfband_decimator.h"

#include "fixed_point.h"

namespace {

// Outputs from the frames centred at `x`, `x` + 2 frames, ...: the centre
// tap halves, the others weigh the sum of the two inputs at equal distance
// (the filter is symmetric), so each tap costs one multiplication for both;
// both channels share each coefficient load. With `fixed_half_taps` (not
// 0) the table's length is a constant of the instance and the tap loop
// unrolls fully: the offsets become constants, with no index arithmetic or
// branch between the multiplications.
template <unsigned channels, size_t fixed_half_taps>
void decimate(const int32_t* x, size_t outputs, const int32_t* table, size_t half_taps, int32_t* out)
{
    // A local copy of a fixed-length table: the stores to `out` cannot
    // change it, so a CPU with registers to spare (the box's has 32) keeps
    // every coefficient in one across all the outputs.
    int32_t copy[fixed_half_taps != 0 ? fixed_half_taps : 1];
    const int32_t* taps = table;
    if constexpr (fixed_half_taps != 0) {
        half_taps = fixed_half_taps;
        for (size_t k = 0; k < fixed_half_taps; ++k)
            copy[k] = table[k];
        taps = copy;
    }
    for (size_t n = 0; n < outputs; ++n, x += 2 * channels, out += channels) {
        int32_t acc[channels];
        for (unsigned c = 0; c < channels; ++c)
            acc[c] = x[c] >> 2;  // 1/2 in the product's Q28
#pragma GCC unroll 64
        for (size_t k = 0; k < half_taps; ++k) {
            const ptrdiff_t reach = static_cast<ptrdiff_t>((2 * k + 1) * channels);
            for (unsigned c = 0; c < channels; ++c)
                acc[c] += multiply_high(x[c - reach] + x[c + reach], taps[k]);
        }
        for (unsigned c = 0; c < channels; ++c)
            out[c] = acc[c] * 2;
    }
}

template <unsigned channels>
HalfbandDecimator::Kernel kernel_for(int half_taps)
{
    switch (half_taps) {
    case halfband_wide_half_taps: return decimate<channels, halfband_wide_half_taps>;
    case halfband_96k_half_taps: return decimate<channels, halfband_96k_half_taps>;
    case halfband_88k_half_taps: return decimate<channels, halfband_88k_half_taps>;
    case halfband_96k_hires_half_taps: return decimate<channels, halfband_96k_hires_half_taps>;
    case halfband_88k_hires_half_taps: return decimate<channels, halfband_88k_hires_half_taps>;
    default: return decimate<channels, 0>;
    }
}

}  // namespace

void HalfbandDecimator::start(const HalfbandTable& table, unsigned channels)
{
    table_ = &table;
    kernel_ = channels == 2 ? kernel_for<2>(table.half_taps) : kernel_for<1>(table.half_taps);
    reach_ = 2 * static_cast<size_t>(table.half_taps) - 1;
    // Silence before the stream: the first output is centred on its first input.
    buffer_.reset(channels, 3 * reach_ + 1, reach_);
    centre_ = reach_;
}

// Every output centred before `last_centre` whose inputs are all there;
// then the history that later outputs need moves to the front.
size_t HalfbandDecimator::run(size_t last_centre, int32_t* out)
{
    const size_t ready = buffer_.held() > reach_ ? buffer_.held() - reach_ : 0;  // centres with all inputs there
    const size_t end = last_centre < ready ? last_centre : ready;
    const size_t n = centre_ < end ? (end - centre_ + 1) / 2 : 0;
    kernel_(buffer_.frame(centre_), n, table_->taps, static_cast<size_t>(table_->half_taps), out);
    centre_ += 2 * n;
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
