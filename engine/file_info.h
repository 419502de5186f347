#ifndef LIRVA_ENGINE_FILE_INFO_H
#define LIRVA_ENGINE_FILE_INFO_H

#include <FLAC/stream_decoder.h>

#include <atomic>
#include <cstdint>

// The one record of the playback session: the open decoder, the stream facts
// from STREAMINFO, the play position and what the status display shows.
// Zero at load; owned by the session that is open, if any.
struct FileInfo {
    FLAC__StreamDecoder* decoder;
    int32_t bits_per_sample;
    int32_t sample_rate;
    int32_t channels;
    char filename[4096];     // the path played, cut to 4095 characters
    uint32_t total_samples;  // low 32 bits of STREAMINFO's count; 0 = unknown
    uint32_t samples_played;
    float length_sec;
    float position_sec;
    std::atomic<int32_t> is_playing;  // read by the GUI thread while the play thread writes it
    int32_t total_time;               // whole seconds
    int32_t elapsed_time;             // whole seconds
    int32_t percent;
};

extern FileInfo file_info;

#endif
