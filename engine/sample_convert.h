#ifndef LIRVA_ENGINE_SAMPLE_CONVERT_H
#define LIRVA_ENGINE_SAMPLE_CONVERT_H

#include <cstddef>
#include <cstdint>

// The device's sample format: signed 16-bit, most significant byte first.
constexpr size_t device_bytes_per_sample = 2;

// Interleaves `count` inter-channel samples, starting at sample `first`, of
// `channels` planes (planes[c][i] is sample i of channel c) into
// count × channels big-endian signed 16-bit values at `out`
// (count × channels × 2 bytes), channel-minor.
//
// `bits_per_sample` is the width of the decoded values, 1 to 32:
// narrower samples are shifted up to 16 bits, 16-bit samples are taken as
// they are, wider ones are rounded to 16 bits and clipped to its range.
// Any other width is treated as 16.
//
// The bytes are the same on every host; nothing depends on the host's
// byte order.
void convert_to_s16be(const int32_t* const planes[], unsigned channels,
                      size_t first, size_t count, int bits_per_sample,
                      uint8_t* out);

#endif
