#include "flac_file.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "descriptor.h"
#include "play_stop.h"

namespace {

Descriptor file;
bool at_end = false;
unsigned long long searched = 0;  // bytes read since the last frame, metadata blocks aside
bool gave_up = false;

// Reads inside a metadata block have a length the block states; every other
// read is part of a search for the stream or for a frame, or of a frame.
bool searching(const FLAC__StreamDecoder* decoder)
{
    return decoder == nullptr || FLAC__stream_decoder_get_state(decoder) != FLAC__STREAM_DECODER_READ_METADATA;
}

}  // namespace

bool flac_file_open(const char* path)
{
    flac_file_close();
    // O_NONBLOCK: open() itself may not wait (a FIFO without a writer, a
    // lease). Cleared once the node is known to be a regular file.
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st;
    const int flags = fcntl(fd, F_GETFL);
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || flags < 0 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        close(fd);
        return false;
    }
    file.reset(fd);
    at_end = false;
    searched = 0;
    gave_up = false;
    return true;
}

void flac_file_close()
{
    file.reset();
}

void flac_file_frame_found()
{
    searched = 0;
}

bool flac_file_search_gave_up()
{
    return gave_up;
}

FLAC__StreamDecoderReadStatus flac_file_read(const FLAC__StreamDecoder* decoder, FLAC__byte buffer[], size_t* bytes,
                                             void*)
{
    const bool counted = searching(decoder);
    gave_up = gave_up || (counted && searched >= max_frame_search);
    for (;;) {
        if (gave_up || play_stop_requested()) {
            *bytes = 0;
            return FLAC__STREAM_DECODER_READ_STATUS_ABORT;
        }
        const ssize_t n = read(file.get(), buffer, *bytes);
        if (n > 0) {
            *bytes = static_cast<size_t>(n);
            if (counted)
                searched += static_cast<unsigned long long>(n);
            return FLAC__STREAM_DECODER_READ_STATUS_CONTINUE;
        }
        if (n == 0) {
            *bytes = 0;
            at_end = true;
            return FLAC__STREAM_DECODER_READ_STATUS_END_OF_STREAM;
        }
        if (errno != EINTR) {
            *bytes = 0;
            return FLAC__STREAM_DECODER_READ_STATUS_ABORT;
        }
    }
}

FLAC__StreamDecoderSeekStatus flac_file_seek(const FLAC__StreamDecoder*, FLAC__uint64 offset, void*)
{
    if (play_stop_requested() || lseek(file.get(), static_cast<off_t>(offset), SEEK_SET) < 0)
        return FLAC__STREAM_DECODER_SEEK_STATUS_ERROR;
    at_end = false;
    return FLAC__STREAM_DECODER_SEEK_STATUS_OK;
}

FLAC__StreamDecoderTellStatus flac_file_tell(const FLAC__StreamDecoder*, FLAC__uint64* offset, void*)
{
    const off_t at = lseek(file.get(), 0, SEEK_CUR);
    if (at < 0)
        return FLAC__STREAM_DECODER_TELL_STATUS_ERROR;
    *offset = static_cast<FLAC__uint64>(at);
    return FLAC__STREAM_DECODER_TELL_STATUS_OK;
}

FLAC__StreamDecoderLengthStatus flac_file_length(const FLAC__StreamDecoder*, FLAC__uint64* length, void*)
{
    struct stat st;
    if (fstat(file.get(), &st) != 0)
        return FLAC__STREAM_DECODER_LENGTH_STATUS_ERROR;
    *length = static_cast<FLAC__uint64>(st.st_size);
    return FLAC__STREAM_DECODER_LENGTH_STATUS_OK;
}

FLAC__bool flac_file_eof(const FLAC__StreamDecoder*, void*)
{
    return at_end;
}
