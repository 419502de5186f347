#include "integer_resampler.h"

#include <algorithm>

namespace {

// The conversion from one rate to another: the 2:1 filters in order, then
// the polyphase table (or none).
struct Route {
    int halvings = 0;
    const HalfbandTable* halves[2] = {};
    const PolyphaseTable* cross = nullptr;
};

bool is_family_rate(uint32_t rate)
{
    return rate == 44100 || rate == 48000;
}

// From 176.4 and 192 kHz the passband ends at 19 kHz: the stages after the
// first have wider transition bands and shorter filters.
bool find_route(uint32_t in_rate, uint32_t out_rate, Route* route)
{
    const bool hires = in_rate > 96000;
    uint32_t rate = in_rate;
    while (route->halvings < 2 && rate > out_rate &&
           (rate == 88200 || rate == 96000 || rate == 176400 || rate == 192000) &&
           (rate / 2 >= out_rate || is_family_rate(out_rate))) {
        if (rate > 96000)
            route->halves[route->halvings++] = &halfband_wide;
        else if (rate == 96000)
            route->halves[route->halvings++] = hires ? &halfband_96k_hires : &halfband_96k;
        else
            route->halves[route->halvings++] = hires ? &halfband_88k_hires : &halfband_88k;
        rate /= 2;
    }
    if (rate == 48000 && out_rate == 44100)
        route->cross = hires ? &polyphase_48k_to_44k_hires : &polyphase_48k_to_44k;
    else if (rate == 44100 && out_rate == 48000)
        route->cross = &polyphase_44k_to_48k;
    else if (rate != out_rate)
        return false;
    return route->halvings > 0 || route->cross != nullptr;
}

}  // namespace

bool IntegerResampler::converts(uint32_t in_rate, uint32_t out_rate)
{
    Route route;
    return find_route(in_rate, out_rate, &route);
}

bool IntegerResampler::start(unsigned channels, uint32_t in_rate, uint32_t out_rate)
{
    Route route;
    active_ = find_route(in_rate, out_rate, &route);
    if (!active_)
        return false;
    channels_ = channels;
    halvings_ = route.halvings;
    for (int s = 0; s < halvings_; ++s) {
        halves_[s].start(*route.halves[s], channels);
        stage_out_[s].assign(HalfbandDecimator::max_output(chunk) * channels, 0);
    }
    crosses_ = route.cross != nullptr;
    if (crosses_)
        polyphase_.start(*route.cross, channels);
    return true;
}

size_t IntegerResampler::max_output(size_t in_frames) const
{
    size_t n = in_frames;
    for (int s = 0; s < halvings_; ++s)
        n = HalfbandDecimator::max_output(n + chunk);  // a drain's outputs come in chunks too
    return crosses_ ? polyphase_.max_output(n) : n;
}

size_t IntegerResampler::through_polyphase(const int32_t* in, size_t frames, int32_t* out)
{
    if (!crosses_) {
        if (in != out)
            std::copy(in, in + frames * channels_, out);
        return frames;
    }
    return polyphase_.process(in, frames, out);
}

size_t IntegerResampler::process(const int32_t* in, size_t frames, int32_t* out)
{
    if (halvings_ == 0)
        return through_polyphase(in, frames, out);
    size_t written = 0;
    for (size_t done = 0; done < frames; done += chunk) {
        const size_t n = frames - done < chunk ? frames - done : chunk;
        size_t m = halves_[0].process(in + done * channels_, n, stage_out_[0].data());
        const int32_t* stage = stage_out_[0].data();
        if (halvings_ == 2) {
            m = halves_[1].process(stage, m, stage_out_[1].data());
            stage = stage_out_[1].data();
        }
        written += through_polyphase(stage, m, out + written * channels_);
    }
    return written;
}

size_t IntegerResampler::drain(int32_t* out)
{
    if (!active_)
        return 0;
    size_t written = 0;
    // Each stage's last outputs pass through the stages after it, then
    // those stages let out theirs.
    for (int s = 0; s < halvings_; ++s) {
        size_t m = halves_[s].drain(stage_out_[s].data());
        const int32_t* stage = stage_out_[s].data();
        if (s == 0 && halvings_ == 2) {
            m = halves_[1].process(stage, m, stage_out_[1].data());
            stage = stage_out_[1].data();
        }
        written += through_polyphase(stage, m, out + written * channels_);
    }
    if (crosses_)
        written += polyphase_.drain(out + written * channels_);
    return written;
}
