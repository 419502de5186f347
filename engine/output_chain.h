#ifndef LIRVA_ENGINE_OUTPUT_CHAIN_H
#define LIRVA_ENGINE_OUTPUT_CHAIN_H

#include <cstddef>
#include <cstdint>
#include <memory>

#include "channel_mix.h"
#include "integer_resampler.h"
#include "output_format.h"
#include "rate_converter.h"
#include "sample_width.h"

// A decoded frame to the device's bytes: channels, then rate, then width
// (dithered once, at the device's rate), then byte order, in blocks small
// enough to stay in the cache. The common rates convert in integer stages
// (IntegerResampler), odd ones through libspeexdsp (RateConverter, after
// the width step). One chain lives for a play: begin() at its start, end()
// when the device closes. The output buffer is sized at the play's first
// frame for the stream's largest frame, again only when a frame or a rate
// change needs more room, never per frame.
class OutputChain {
public:
    // The largest frame FLAC allows, in inter-channel samples.
    static constexpr size_t max_frame = 65535;

    // `largest_frame`: the stream's largest frame in inter-channel samples,
    // 0 when unknown (a larger frame grows the buffer).
    void begin(const OutputFormat& device, size_t largest_frame = 0);
    void end();

    // Converts `count` inter-channel samples of `planes` from sample
    // `first` (each `bits` wide, `channels` of them, at `rate` Hz; a rate of
    // 0 counts as the device's). The bytes are in data()/size() until the
    // next call. Returns the samples converted: all of them, unless the
    // buffer ran full (a frame at a rate far below the device's); the
    // caller then writes what there is and converts the rest.
    size_t convert(const int32_t* const planes[], unsigned channels, size_t first, size_t count, int bits,
                   uint32_t rate);

    // True when the last convert() dropped its samples: no playable device
    // format, a rate far below the device's, a converter that cannot start,
    // or no memory.
    bool dropped() const { return dropped_; }

    // The end of the stream: the resampler's last samples into data()/size();
    // a later frame starts a fresh filter.
    void drain();

    const uint8_t* data() const { return out_.get(); }
    size_t size() const { return out_bytes_; }

private:
    static constexpr size_t block = 512;

    bool set_rate(uint32_t rate, unsigned carried);
    bool converts_rate() const { return integer_.active() || resampler_.active(); }
    size_t output_frames(size_t in_frames) const;
    void let_out_filter();
    bool reserve_for(size_t in_frames);
    bool reserve(size_t frames);
    size_t room() const { return out_frames_ - out_bytes_ / frame_bytes(); }
    size_t frame_bytes() const { return 2 * size_t{device_.channels}; }
    int16_t* out_samples() { return reinterpret_cast<int16_t*>(out_.get() + out_bytes_); }
    // Appends the 16-bit samples at out_samples() as the device's bytes.
    void emit(size_t frames);
    // Appends `frames` frames of `channels` values (the device's, or one
    // for both of its channels), `width` bits wide, as 16-bit bytes.
    void emit_reduced(const int32_t* values, size_t frames, int width, unsigned channels);

    OutputFormat device_;
    DitherSource dither_;
    ChannelMix mix_;
    IntegerResampler integer_;
    RateConverter resampler_;
    uint32_t stream_rate_ = 0;
    unsigned carried_ = 0;  // channels through the integer rate step
    size_t largest_frame_ = 0;
    bool rate_usable_ = false;
    bool dropped_ = false;

    std::unique_ptr<uint8_t[]> out_;
    size_t out_frames_ = 0;  // capacity in device frames
    size_t out_bytes_ = 0;

    int32_t mixed_[block * 2];
    int32_t rated_[block * 2 * 2];  // up to 160/147 times a block, and a drain
    int16_t narrowed_[block * 2];
};

#endif
