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

// The callbacks for FLAC__stream_decoder_init_stream. Each read answers
// ABORT once the play thread has been asked to stop.
FLAC__StreamDecoderReadStatus flac_file_read(const FLAC__StreamDecoder*, FLAC__byte buffer[], size_t* bytes,
                                             void* client_data);
FLAC__StreamDecoderSeekStatus flac_file_seek(const FLAC__StreamDecoder*, FLAC__uint64 offset, void* client_data);
FLAC__StreamDecoderTellStatus flac_file_tell(const FLAC__StreamDecoder*, FLAC__uint64* offset, void* client_data);
FLAC__StreamDecoderLengthStatus flac_file_length(const FLAC__StreamDecoder*, FLAC__uint64* length, void* client_data);
FLAC__bool flac_file_eof(const FLAC__StreamDecoder*, void* client_data);

#endif
