#ifndef LIRVA_ENGINE_FLAC_CALLBACKS_H
#define LIRVA_ENGINE_FLAC_CALLBACKS_H

#include <FLAC/stream_decoder.h>

// The callbacks a decoder session registers with libFLAC. The client data
// is the address of the playback record, file_info.

// Once per decoded frame: converts it to the device's format, writes it to
// the device, advances the play position and refreshes the elapsed time at
// each new whole second. Returns ABORT when the play thread has been asked
// to stop, the device fails a write, or the device accepted no format it
// can be sent.
FLAC__StreamDecoderWriteStatus flac_write_hdl(const FLAC__StreamDecoder* decoder, const FLAC__Frame* frame,
                                              const FLAC__int32* const buffer[], void* client_data);

// Takes the stream facts and the length from STREAMINFO and shows the time
// captions; other metadata blocks are ignored.
void flac_metadata_hdl(const FLAC__StreamDecoder* decoder, const FLAC__StreamMetadata* metadata, void* client_data);

// Decoding errors are ignored; libFLAC resynchronises and goes on.
void flac_error_hdl(const FLAC__StreamDecoder* decoder, FLAC__StreamDecoderErrorStatus status, void* client_data);

#endif
