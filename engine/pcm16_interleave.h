#ifndef LIRVA_ENGINE_PCM16_INTERLEAVE_H
#define LIRVA_ENGINE_PCM16_INTERLEAVE_H

#include <cstddef>
#include <cstdint>

// The whole chain in one pass where nothing needs arithmetic: mono or
// stereo to as many channels (mono doubled to stereo), samples of 16 bits
// or fewer (shifted up), at the device's rate. `planes[c][i]` is sample i
// of channel c; `count` inter-channel samples from `first` become
// count x out_channels 16-bit samples of the given byte order at `out`.
// The same bytes as channel mix, width and byte-order steps one after the
// other, at a fraction of the cost, for the most common stream of all.
void interleave_pcm16(const int32_t* const planes[], unsigned in_channels, unsigned out_channels, size_t first,
                      size_t count, int bits, bool big_endian, uint8_t* out);

#endif
