#ifndef LIRVA_ENGINE_TRACK_TAGS_H
#define LIRVA_ENGINE_TRACK_TAGS_H

#include <cstddef>

// The artist and title of a FLAC file, from its Vorbis comments: UTF-8,
// each cut to what a label can show. Empty when the file has none.
struct TrackTags {
    static constexpr size_t max_text = 256;  // bytes kept of each: a line of 50 characters of up to 4 bytes
    char artist[max_text];
    char title[max_text];
    // STREAMINFO's rate, read on the way (0 when unknown): whether the
    // device must be set up anew for the track is known before it opens.
    unsigned sample_rate;
};

// A comment block larger than this is not read: its tags are not shown, so
// that megabytes of comments cost no more than a file without them.
constexpr unsigned max_comment_block = 64 * 1024;

// Reads the tags (and the rate) of the file at `path` with libFLAC's
// metadata interface.
// Blocks before the comments (pictures, padding) are passed over, not read.
// A stop request of the calling thread's play ends the search between two
// blocks. The tags are empty when the file has no comments, they cannot be
// read, or the search was stopped.
void read_track_tags(const char* path, TrackTags& tags);

#endif
