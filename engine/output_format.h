#ifndef LIRVA_ENGINE_OUTPUT_FORMAT_H
#define LIRVA_ENGINE_OUTPUT_FORMAT_H

#include <cstdint>

// What the audio device plays: 16-bit samples of one or two channels at a
// rate, in one byte order. The set-up asks for big-endian stereo at
// 44100 Hz and takes what the device answers.
// The range of device rates that the chain converts to.
constexpr int min_device_rate = 1000;
constexpr int max_device_rate = 768000;

struct OutputFormat {
    bool playable = true;  // false: the device answered a format we do not write
    bool big_endian = true;
    unsigned channels = 2;
    uint32_t rate = 44100;
};

#endif
