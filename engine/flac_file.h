#ifndef LIRVA_ENGINE_FLAC_FILE_H
#define LIRVA_ENGINE_FLAC_FILE_H

#include <FLAC/stream_decoder.h>

// The file a decoder session plays, read by libFLAC through the callbacks
// below instead of on its own, so that a stop ends the session within one
// read wherever libFLAC is: in the metadata, searching for a frame, or
// decoding. At most one is open, like the session.

// Opens `path` for reading. Only a regular file is taken: the node is
// opened without waiting (a FIFO, a device or a file under another
// process's lease cannot hold the thread) and looked at on the open
// descriptor, so a node swapped in after the listing is refused. False when
// it cannot be opened or is not a regular file.
bool flac_file_open(const char* path);

// Closes the file, if one is open. Safe to call again.
void flac_file_close();

// The most libFLAC may read, outside metadata blocks, without decoding a
// frame: the search for the stream's start or for the next frame. Past it
// the read aborts and the play ends, as for any file that cannot be played,
// instead of scanning a terabyte of zeros or garbage for an hour. 16 MiB is
// over seven times the largest frame FLAC allows (65535 samples of eight
// 32-bit channels, verbatim: about 2 MiB), room for an ID3v2 tag with a
// large picture before the stream, and lets a damaged stretch of several
// MiB between good frames be skipped.
constexpr unsigned long long max_frame_search = 16ull << 20;

// A frame was decoded: the search starts afresh.
void flac_file_frame_found();

// True when the last read gave up searching (see max_frame_search).
bool flac_file_search_gave_up();

// The callbacks for FLAC__stream_decoder_init_stream. Each read answers
// ABORT once the play thread has been asked to stop, or once the search for
// a frame has gone too far.
FLAC__StreamDecoderReadStatus flac_file_read(const FLAC__StreamDecoder*, FLAC__byte buffer[], size_t* bytes,
                                             void* client_data);
FLAC__StreamDecoderSeekStatus flac_file_seek(const FLAC__StreamDecoder*, FLAC__uint64 offset, void* client_data);
FLAC__StreamDecoderTellStatus flac_file_tell(const FLAC__StreamDecoder*, FLAC__uint64* offset, void* client_data);
FLAC__StreamDecoderLengthStatus flac_file_length(const FLAC__StreamDecoder*, FLAC__uint64* length, void* client_data);
FLAC__bool flac_file_eof(const FLAC__StreamDecoder*, void* client_data);

#endif
