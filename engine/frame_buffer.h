#ifndef LIRVA_ENGINE_FRAME_BUFFER_H
#define LIRVA_ENGINE_FRAME_BUFFER_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

// The interleaved frames a filter reads across calls: the history its
// next outputs still need, then the newest input. Input comes in pieces of
// at most `chunk` frames, so the buffer's size is fixed at reset().
class FrameBuffer {
public:
    static constexpr size_t chunk = 1024;

    // Room for `history` frames besides a chunk; starts with `silence`
    // frames of zeros.
    void reset(unsigned channels, size_t history, size_t silence)
    {
        channels_ = channels;
        frames_.assign((history + chunk) * channels, 0);
        held_ = silence;
    }

    const int32_t* frame(size_t i) const { return &frames_[i * channels_]; }
    size_t held() const { return held_; }
    unsigned channels() const { return channels_; }

    void append_silence(size_t frames)
    {
        memset(&frames_[held_ * channels_], 0, frames * channels_ * sizeof(int32_t));
        held_ += frames;
    }

    // Forgets the frames before `first`; the others move to the front.
    void drop_before(size_t first)
    {
        memmove(frames_.data(), &frames_[first * channels_], (held_ - first) * channels_ * sizeof(int32_t));
        held_ -= first;
    }

    // Appends `frames` frames of `in` a chunk at a time; after each chunk,
    // run(out) writes the outputs now ready to `out` and returns how many.
    template <class Run>
    size_t feed(const int32_t* in, size_t frames, int32_t* out, Run run)
    {
        size_t written = 0;
        while (frames > 0) {
            const size_t n = frames < chunk ? frames : chunk;
            memcpy(&frames_[held_ * channels_], in, n * channels_ * sizeof(int32_t));
            held_ += n;
            written += run(out + written * channels_);
            in += n * channels_;
            frames -= n;
        }
        return written;
    }

private:
    unsigned channels_ = 1;
    std::vector<int32_t> frames_;
    size_t held_ = 0;
};

#endif
