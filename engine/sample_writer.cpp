// The sample writer: one decoded frame to the audio device.
#include <errno.h>
#include <unistd.h>

#include <lirva_dialog.h>

#include "audio_device.h"
#include "cancel_point.h"
#include "file_info.h"
#include "flac_callbacks.h"
#include "play_clock.h"
#include "play_stop.h"
#include "sample_convert.h"

namespace {

// Room for the largest frame a FLAC header can describe (65536 samples of
// 8 channels) as 16-bit values: allocated once, never per frame, and not on
// the stack of a host thread whose size we do not control.
constexpr size_t max_frame_samples = 65536;
constexpr size_t max_channels = 8;
constexpr size_t out_capacity = max_frame_samples * max_channels * device_bytes_per_sample;
alignas(64) uint8_t out_buffer[out_capacity];

enum class WriteResult { done, stopped, failed };

// Hands `size` bytes to the device in one write() when the device takes
// them whole. A blocking write cut short by a signal returns a partial count
// or EINTR: the rest is sent again unless the thread is being stopped. Any
// other failure ends the play: decoding on unpaced would show progress
// while nothing sounds. The blocking write is the one place where a host's
// cancellation may end the play thread.
WriteResult write_to_device(const uint8_t* data, size_t size)
{
    while (size > 0) {
        ssize_t n = cancel_point([&] { return write(audio, data, size); });
        if (n > 0) {
            data += n;
            size -= static_cast<size_t>(n);
        } else if (!(n < 0 && errno == EINTR)) {
            return WriteResult::failed;
        }
        if (size > 0 && play_stop_requested())
            return WriteResult::stopped;
    }
    return WriteResult::done;
}

// The width of the values in the frame's buffer. The frame header's is the
// one libFLAC decoded with; STREAMINFO's may be missing or wrong.
int frame_width(const FLAC__Frame& frame, const FileInfo& info)
{
    int bits = static_cast<int>(frame.header.bits_per_sample);
    return bits != 0 ? bits : info.bits_per_sample;
}

}  // namespace

FLAC__StreamDecoderWriteStatus flac_write_hdl(const FLAC__StreamDecoder*,
                                              const FLAC__Frame* frame,
                                              const FLAC__int32* const buffer[],
                                              void* client_data)
{
    if (play_stop_requested())
        return FLAC__STREAM_DECODER_WRITE_STATUS_ABORT;

    FileInfo& info = *static_cast<FileInfo*>(client_data);
    const uint32_t blocksize = frame->header.blocksize;
    const unsigned channels = frame->header.channels;
    const uint32_t sample_rate = frame->header.sample_rate;

    if (audio_device_is_open() && channels > 0 && channels <= max_channels) {
        const int bits = frame_width(*frame, info);
        // Frames never exceed the buffer; the loop only guards against a
        // header that claims more than the format allows.
        const size_t chunk = out_capacity / (device_bytes_per_sample * channels);
        for (size_t first = 0; first < blocksize; first += chunk) {
            size_t count = blocksize - first < chunk ? blocksize - first : chunk;
            convert_to_s16be(buffer, channels, first, count, bits, out_buffer);
            if (write_to_device(out_buffer, count * channels * device_bytes_per_sample)
                != WriteResult::done)
                return FLAC__STREAM_DECODER_WRITE_STATUS_ABORT;
        }
    }

    info.samples_played += blocksize;
    if (sample_rate != 0)
        info.position_sec += static_cast<float>(blocksize) / static_cast<float>(sample_rate);

    const int32_t seconds = whole_seconds(info.position_sec);
    if (seconds > info.elapsed_time) {
        info.elapsed_time = seconds;
        info.percent = percent_played(info.elapsed_time, info.total_time);
        eLirvaDialog::display_elapsed_time();
    }
    return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
}
