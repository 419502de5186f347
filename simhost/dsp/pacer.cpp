#include "pacer.h"

Pacer::Slot Pacer::reserve(int64_t now_ns, size_t size)
{
    Slot slot;
    if (!paced()) {
        slot.start_ns = slot.end_ns = now_ns;
        return slot;
    }
    if (!started_ || now_ns > next_ns_ + idle_slack_ns)
        next_ns_ = now_ns;
    started_ = true;
    slot.start_ns = next_ns_;
    slot.end_ns = next_ns_ + static_cast<int64_t>(static_cast<double>(size) * ns_per_byte_);
    next_ns_ = slot.end_ns;
    return slot;
}

size_t Pacer::cut_short(const Slot& slot, int64_t now_ns, size_t size)
{
    size_t played = 0;
    if (paced() && size > 0 && now_ns > slot.start_ns) {
        played = static_cast<size_t>(static_cast<double>(now_ns - slot.start_ns) / ns_per_byte_);
        if (played >= size)
            played = size - 1;  // interrupted: never the whole write
        played -= played % frame_bytes;
    }
    next_ns_ = slot.start_ns + static_cast<int64_t>(static_cast<double>(played) * ns_per_byte_);
    return played;
}
