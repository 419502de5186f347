#ifndef LIRVA_ENGINE_FILE_INFO_H
#define LIRVA_ENGINE_FILE_INFO_H

#include <FLAC/stream_decoder.h>

#include <atomic>
#include <cstdint>

#include "play_clock.h"

// The one record of the playback session: the open decoder, the stream facts
// from STREAMINFO, the play position and what the status display shows.
// Zero at load; owned by the session that is open, if any.
struct FileInfo {
    FLAC__StreamDecoder* decoder;
    int32_t bits_per_sample;
    int32_t sample_rate;
    int32_t channels;
    char filename[4096];     // the path played, cut to 4095 characters
    uint64_t total_samples;   // STREAMINFO's whole 36-bit count; 0 = unknown
    uint64_t samples_played;  // 32 bits would wrap after 27 hours at 44.1 kHz
    float length_sec;
    float position_sec;  // derived from `clock` at every frame, never summed
    std::atomic<int32_t> is_playing;  // read by the GUI thread while the play thread writes it
    int32_t total_time;               // whole seconds
    int32_t elapsed_time;             // whole seconds
    int32_t percent;
    PlayClock clock;  // the exact play position
};

extern FileInfo file_info;

#endif
