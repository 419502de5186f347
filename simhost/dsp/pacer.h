#ifndef LIRVA_DSP_PACER_H
#define LIRVA_DSP_PACER_H

#include <cstddef>
#include <cstdint>

// The clock of the simulated device: each write takes the time its bytes
// need to play. Slots are chained, each starting where the previous one
// ended, so the rate holds however the writes are cut; only after the device
// has run dry for longer than `idle_slack_ns` does a write start afresh.
class Pacer {
public:
    struct Slot {
        int64_t start_ns = 0;
        int64_t end_ns = 0;
    };

    static constexpr int64_t idle_slack_ns = 100 * 1000 * 1000;
    static constexpr size_t frame_bytes = 4;  // the step a cut-short write is rounded to

    // bytes_per_second 0 = unpaced: every slot is empty.
    explicit constexpr Pacer(double bytes_per_second = 0)
        : ns_per_byte_(bytes_per_second > 0 ? 1e9 / bytes_per_second : 0)
    { }

    bool paced() const { return ns_per_byte_ > 0; }

    // Reserves the device time of `size` bytes written at `now_ns`.
    Slot reserve(int64_t now_ns, size_t size);

    // The wait for `slot` was interrupted at `now_ns`: returns how many of
    // its `size` bytes had played by then, in whole frames and fewer than
    // `size`, and ends the chain after them.
    size_t cut_short(const Slot& slot, int64_t now_ns, size_t size);

private:
    double ns_per_byte_;
    int64_t next_ns_ = 0;
    bool started_ = false;
};

#endif
