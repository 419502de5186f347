#ifndef LIRVA_ENGINE_STREAM_INFO_H
#define LIRVA_ENGINE_STREAM_INFO_H

#include <FLAC/format.h>

#include "file_info.h"

// Forgets the stream facts of an earlier session, so that a stream without
// STREAMINFO is not played with them.
void forget_stream_info(FileInfo& info);

// True once the current session has received a STREAMINFO block.
bool stream_info_received(const FileInfo& info);

// Takes the facts and the length from a STREAMINFO block.
void take_stream_info(FileInfo& info, const FLAC__StreamMetadata_StreamInfo& si);

#endif
