#ifndef LIRVA_ENGINE_PCM16_BYTES_H
#define LIRVA_ENGINE_PCM16_BYTES_H

#include <cstddef>
#include <cstdint>

// The byte-order step: `count` 16-bit samples to the device's bytes, most
// significant byte first (big_endian) or last. The same bytes on every
// host. `out` may be the memory of `in` itself (each sample is read before
// its two bytes are written).
void store_pcm16(const int16_t* in, size_t count, bool big_endian, uint8_t* out);

#endif
