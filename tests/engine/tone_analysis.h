#ifndef LIRVA_TESTS_ENGINE_TONE_ANALYSIS_H
#define LIRVA_TESTS_ENGINE_TONE_ANALYSIS_H

#include <cstddef>
#include <cstdint>
#include <vector>

// Measurements of a sine played back, for the tests of the rate path.
namespace tonetest {

// One channel of interleaved 16-bit samples.
std::vector<double> channel(const std::vector<int16_t>& interleaved, unsigned channels, unsigned which);

// The tone's frequency from its rising zero crossings (interpolated), in Hz.
double frequency(const std::vector<double>& samples, double rate);

// The largest difference between neighbouring samples.
double largest_step(const std::vector<double>& samples);

// The largest absolute value.
double peak(const std::vector<double>& samples);

}  // namespace tonetest

#endif
