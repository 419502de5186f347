#ifndef LIRVA_TESTS_ENGINE_TEST_SUPPORT_H
#define LIRVA_TESTS_ENGINE_TEST_SUPPORT_H

// Bytes and samples as the device should get them, written independently
// of the engine.
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
inline int16_t read_16(const void* bytes, bool big_endian = true)
{
    const auto* b = static_cast<const uint8_t*>(bytes);
    return static_cast<int16_t>(big_endian ? b[0] << 8 | b[1] : b[1] << 8 | b[0]);
}

}  // namespace enginetest

#endif
