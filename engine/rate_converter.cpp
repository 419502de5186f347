#include "rate_converter.h"

#include <speex/speex_resampler.h>

namespace {

// libspeexdsp counts in 32 bits; one call never takes more than this.
constexpr size_t max_call_frames = 1u << 20;

// libspeexdsp's filter length per output sample at qualities 0 to 4, before
// it is stretched by the ratio when the stream is faster than the device.
constexpr uint32_t base_taps[] = {8, 16, 32, 48, 64};
constexpr int best_quality = 4;
// The longest filter we run: quality 4's from 48 to 44.1 kHz. In fixed
// point more taps buy no less noise (about 80 dB at every quality from 3
// up), only a passband reaching a little closer to 22 kHz.
constexpr uint64_t max_taps = 72;

}  // namespace

RateConverter::~RateConverter()
{
    stop();
}

int RateConverter::quality_for(uint32_t in_rate, uint32_t out_rate)
{
    int q = best_quality;
    while (q > 0 && uint64_t{base_taps[q]} * in_rate > max_taps * out_rate)
        --q;
    return q;
}

bool RateConverter::start(unsigned channels, uint32_t in_rate, uint32_t out_rate)
{
    stop();
    int error = 0;
    SpeexResamplerState* s = speex_resampler_init(channels, in_rate, out_rate, quality_for(in_rate, out_rate), &error);
    if (s == nullptr)
        return false;
    speex_resampler_skip_zeros(s);
    state_ = s;
    channels_ = channels;
    in_rate_ = in_rate;
    out_rate_ = out_rate;
    delay_ = static_cast<size_t>(speex_resampler_get_input_latency(s));
    return true;
}

void RateConverter::stop()
{
    if (state_ != nullptr)
        speex_resampler_destroy(state_);
    state_ = nullptr;
    in_rate_ = out_rate_ = 0;
    delay_ = 0;
}

size_t RateConverter::max_output(size_t in_frames) const
{
    if (in_rate_ == 0)
        return 0;
    const uint64_t held = uint64_t{in_frames} + delay_;
    return static_cast<size_t>(held * out_rate_ / in_rate_ + 2);
}

size_t RateConverter::process(const int16_t* in, size_t in_frames, int16_t* out, size_t out_capacity)
{
    size_t taken = 0;
    size_t written = 0;
    while (state_ != nullptr && taken < in_frames && written < out_capacity) {
        const size_t in_left = in_frames - taken;
        const size_t out_left = out_capacity - written;
        spx_uint32_t in_len = static_cast<spx_uint32_t>(in_left < max_call_frames ? in_left : max_call_frames);
        spx_uint32_t out_len = static_cast<spx_uint32_t>(out_left < max_call_frames ? out_left : max_call_frames);
        speex_resampler_process_interleaved_int(state_, in + taken * channels_, &in_len, out + written * channels_,
                                                &out_len);
        if (in_len == 0 && out_len == 0)
            break;
        taken += in_len;
        written += out_len;
    }
    return written;
}

size_t RateConverter::drain(int16_t* out, size_t out_capacity)
{
    if (state_ == nullptr)
        return 0;
    // A null input is silence to libspeexdsp.
    spx_uint32_t in_len = static_cast<spx_uint32_t>(delay_);
    spx_uint32_t out_len = static_cast<spx_uint32_t>(out_capacity < max_call_frames ? out_capacity : max_call_frames);
    speex_resampler_process_interleaved_int(state_, nullptr, &in_len, out, &out_len);
    return out_len;
}
