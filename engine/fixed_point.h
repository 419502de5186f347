#ifndef LIRVA_ENGINE_FIXED_POINT_H
#define LIRVA_ENGINE_FIXED_POINT_H

#include <cstdint>

// The rate converters carry samples as 32-bit values with full scale at
// 2^29 ("Q29"): 24 bits of signal, room for a filter's overshoot, and two
// neighbours' sum still fits.
constexpr int rate_sample_width = 30;

// The upper word of a 32 x 32-bit product: one instruction on the box's CPU
// (mulhw) and on a PC, and a 32-bit accumulator suffices.
inline int32_t multiply_high(int32_t a, int32_t b)
{
    return static_cast<int32_t>((int64_t{a} * b) >> 32);
}

#endif
