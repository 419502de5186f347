#ifndef LIRVA_TESTS_ENGINE_EXPECTED_PCM16_H
#define LIRVA_TESTS_ENGINE_EXPECTED_PCM16_H

// What the device should get, written independently of the engine.
#include <cmath>
#include <cstdint>

namespace enginetest {

// A decoded sample of `bits` width as 16 bits: narrower ones scaled up,
// wider ones rounded half up and clipped (the dither may add one step).
inline int16_t expected_16(int32_t sample, int bits)
{
    if (bits <= 16)
        return static_cast<int16_t>(sample * (1 << (16 - bits)));
    const double scaled = std::floor(sample / std::ldexp(1.0, bits - 16) + 0.5);
    return static_cast<int16_t>(std::fmin(std::fmax(scaled, -32768), 32767));
}

// The 16-bit sample at `bytes`, read byte by byte in the given order.
inline int16_t read_16(const uint8_t* bytes, bool big_endian)
{
    return static_cast<int16_t>(big_endian ? bytes[0] << 8 | bytes[1] : bytes[1] << 8 | bytes[0]);
}

}  // namespace enginetest

#endif
