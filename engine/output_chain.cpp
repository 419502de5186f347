#include "output_chain.h"

#include <cstring>
#include <new>

#include "fixed_point.h"
#include "pcm16_bytes.h"
#include "pcm16_interleave.h"

namespace {

// A stream far below the device's rate would need a huge buffer for one
// frame; past this many device frames its frames go out in several writes.
constexpr size_t max_out_frames = OutputChain::max_frame * 8;
// Room for what a rate change lets out of the old filter.
constexpr size_t drain_room = 8192;
// Streams more than this many times slower than the device are not
// played (their samples are dropped): one frame would not fit a buffer.
constexpr uint64_t max_upsampling = 1024;
// The buffer's size for a stream that does not say its largest frame.
constexpr size_t default_frame = 4608;

}  // namespace

void OutputChain::begin(const OutputFormat& device, size_t largest_frame)
{
    end();
    device_ = device;
    largest_frame_ = largest_frame > 0 && largest_frame <= max_frame ? largest_frame : default_frame;
    dither_.seed(dither_seed_per_play);
}

void OutputChain::end()
{
    integer_.stop();
    resampler_.stop();
    out_.reset();
    out_frames_ = out_bytes_ = 0;
    stream_rate_ = 0;
    rate_usable_ = false;
    mix_ = ChannelMix{};
}

// Device frames that `in_frames` stream frames can give, capped.
size_t OutputChain::output_frames(size_t in_frames) const
{
    size_t frames = integer_.active() ? integer_.max_output(in_frames)
        : resampler_.active()         ? resampler_.max_output(in_frames)
                                      : in_frames;
    return frames < max_out_frames ? frames : max_out_frames;
}

// Room for the largest frame (or a block, if more) in one piece.
bool OutputChain::reserve_for(size_t in_frames)
{
    const size_t frames = output_frames(in_frames);
    const size_t one_block = output_frames(block);
    return reserve(frames > one_block ? frames : one_block);
}

bool OutputChain::reserve(size_t frames)
{
    frames += drain_room;
    if (out_ && frames <= out_frames_)
        return true;
    // Bytes already converted (a rate change's last samples) move along.
    std::unique_ptr<uint8_t[]> larger(new (std::nothrow) uint8_t[frames * frame_bytes()]);
    if (!larger)
        return false;
    if (out_bytes_ > 0)
        memcpy(larger.get(), out_.get(), out_bytes_);
    out_ = std::move(larger);
    out_frames_ = frames;
    return true;
}

// Keeps the rate step for the stream's rate and `carried` channels (the
// integer step carries a mono stream as mono, also to a stereo device): a
// change lets out the old filter's last samples and starts a fresh one.
// False when the stream's samples cannot be played at this rate.
bool OutputChain::set_rate(uint32_t rate, unsigned carried)
{
    if (rate == 0)
        rate = device_.rate;
    if (rate == stream_rate_ && carried == carried_)
        return rate_usable_;
    let_out_filter();
    stream_rate_ = rate;
    carried_ = carried;
    rate_usable_ = uint64_t{rate} * max_upsampling >= device_.rate &&
        (rate == device_.rate || integer_.start(carried, rate, device_.rate) ||
         resampler_.start(device_.channels, rate, device_.rate));
    if (rate_usable_)
        rate_usable_ = reserve_for(largest_frame_);
    return rate_usable_;
}

void OutputChain::emit(size_t frames)
{
    int16_t* samples = out_samples();
    store_pcm16(samples, frames * device_.channels, device_.big_endian, out_.get() + out_bytes_);
    out_bytes_ += frames * frame_bytes();
}

void OutputChain::emit_reduced(const int32_t* values, size_t frames, int width, unsigned channels)
{
    reduce_to_pcm16(values, frames * channels, width, dither_, device_.big_endian, out_.get() + out_bytes_,
                    device_.channels / channels);
    out_bytes_ += frames * frame_bytes();
}

size_t OutputChain::convert(const int32_t* const planes[], unsigned channels, size_t first, size_t count, int bits,
                            uint32_t rate)
{
    out_bytes_ = 0;
    dropped_ = !device_.playable || channels == 0 || channels > max_stream_channels;
    if (!dropped_) {
        if (mix_.in_channels != channels || mix_.out_channels != device_.channels)
            mix_ = channel_mix_for(channels, device_.channels);
        // A mono stream is mono through the rate step: half the work.
        dropped_ = !set_rate(rate, mix_.copy && channels == 1 ? 1 : device_.channels);
    }
    if (dropped_)
        return count;  // nothing can be played: the samples are dropped
    if (count > largest_frame_ && count <= max_frame) {
        // A frame larger than the stream said: the buffer grows, once.
        largest_frame_ = count;
        if (!reserve_for(count))
            return count;
    }
    const int width = mixed_width(mix_, bits);
    const unsigned outs = device_.channels;

    if (mix_.copy && width <= 16 && !converts_rate()) {
        // Nothing but interleaving: one pass, the whole frame.
        const size_t n = count < room() ? count : room();
        interleave_pcm16(planes, channels, outs, first, n, width, device_.big_endian, out_.get() + out_bytes_);
        out_bytes_ += n * frame_bytes();
        return n;
    }

    size_t done = 0;
    while (done < count) {
        const size_t n = count - done < block ? count - done : block;
        if (output_frames(n) > room())
            break;
        if (integer_.active()) {
            if (mix_.copy) {
                widen_planes_to_rate_width(planes, channels, carried_, first + done, n, width, mixed_);
            } else {
                // A downmix wider than the rate step's values is narrowed to
                // them in the same pass.
                mix_channels(mix_, planes, first + done, n, bits, mixed_, rate_sample_width);
                if (width <= rate_sample_width)
                    widen_to_rate_width(mixed_, n * outs, width);
            }
            emit_reduced(rated_, integer_.process(mixed_, n, rated_), rate_sample_width, carried_);
        } else if (resampler_.active()) {
            mix_channels(mix_, planes, first + done, n, bits, mixed_);
            reduce_to_16(mixed_, n * outs, width, dither_, narrowed_);
            emit(resampler_.process(narrowed_, n, out_samples(), room()));
        } else {
            mix_channels(mix_, planes, first + done, n, bits, mixed_);
            emit_reduced(mixed_, n, width, outs);
        }
        done += n;
    }
    return done;
}

// Appends the filter's last samples and stops it.
void OutputChain::let_out_filter()
{
    if (integer_.active() && out_) {
        emit_reduced(rated_, integer_.drain(rated_), rate_sample_width, carried_);
    }
    if (resampler_.active() && out_)
        emit(resampler_.drain(out_samples(), room()));
    integer_.stop();
    resampler_.stop();
}

void OutputChain::drain()
{
    out_bytes_ = 0;
    let_out_filter();
    stream_rate_ = 0;  // a frame after the end starts a fresh filter
}
