#ifndef LIRVA_ENGINE_NOW_PLAYING_H
#define LIRVA_ENGINE_NOW_PLAYING_H

#include <cstddef>

#include "file_info.h"
#include "output_format.h"
#include "track_tags.h"

// What the window's two track lines show while a file plays: who and what
// it is, and its format with what the device receives. Written and shown on
// the play thread; empty when nothing plays.
struct NowPlaying {
    static constexpr size_t max_chars = 50;  // characters a line keeps
    char line1[max_chars * 4 + 1];           // "artist – title", UTF-8
    char line3[max_chars + 1];               // "96 kHz 24 bit 6 ch > 48 kHz 16 bit 2 ch"
    bool paused;                             // the play holds: line3 says so
};

extern NowPlaying now_playing;

// Fills both lines for the file at `path`: its artist and title, or what
// there is of them, or else the file's name without ".flac"; and the
// stream's facts beside the device's.
void describe_track(const char* path, const TrackTags& tags, const FileInfo& stream, const OutputFormat& device);

// Empties both lines; not paused.
void forget_track();

#endif
