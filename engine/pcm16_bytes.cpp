#include "pcm16_bytes.h"

void store_pcm16(const int16_t* in, size_t count, bool big_endian, uint8_t* out)
{
    const unsigned high = big_endian ? 0 : 1;
    for (size_t i = 0; i < count; ++i) {
        const uint16_t v = static_cast<uint16_t>(in[i]);
        out[2 * i + high] = static_cast<uint8_t>(v >> 8);
        out[2 * i + (1 - high)] = static_cast<uint8_t>(v);
    }
}
