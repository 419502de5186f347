// The sample writer: one decoded frame to the audio device.
#include <errno.h>
#include <time.h>
#include <unistd.h>

#include <lirva_dialog.h>

#include "audio_device.h"
#include "cancel_point.h"
#include "file_info.h"
#include "flac_callbacks.h"
#include "flac_file.h"
#include "play_clock.h"
#include "play_outcome.h"
#include "play_stop.h"
#include "run_control.h"
#include "sample_writer.h"

namespace {

enum class WriteResult { done, stopped, failed };

// A device that answers every write with EINTR and takes nothing would keep
// the thread spinning: after this many interrupted writes in a row with no
// byte taken, each retry waits `interrupted_pause` first. A stop still acts
// at once: the wait is a cancel point, a signal ends it, and the request is
// read after it.
constexpr int interrupted_run = 16;
constexpr timespec interrupted_pause{0, 10 * 1000 * 1000};

// Hands `size` bytes to the device in one write() when the device takes
// them whole. A blocking write cut short by a signal returns a partial count
// or EINTR: the rest is sent again unless the thread is being stopped. Any
// other failure ends the play: decoding on unpaced would show progress
// while nothing sounds. The blocking write is the one place where a host's
// cancellation may end the play thread.
WriteResult write_to_device(const uint8_t* data, size_t size)
{
    int interrupted = 0;
    while (size > 0) {
        if (interrupted >= interrupted_run)
            cancel_point([] { return nanosleep(&interrupted_pause, nullptr); });
        ssize_t n = cancel_point([&] { return write(audio, data, size); });
        if (n > 0) {
            data += n;
            size -= static_cast<size_t>(n);
            interrupted = 0;
        } else if (n < 0 && errno == EINTR) {
            ++interrupted;
        } else {
            note_play_outcome(PlayOutcome::device_failed);
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

FLAC__StreamDecoderWriteStatus flac_write_hdl(const FLAC__StreamDecoder*, const FLAC__Frame* frame,
                                              const FLAC__int32* const buffer[], void* client_data)
{
    hold_while_paused();
    if (play_stop_requested())
        return FLAC__STREAM_DECODER_WRITE_STATUS_ABORT;

    flac_file_frame_found();
    FileInfo& info = *static_cast<FileInfo*>(client_data);
    const uint32_t blocksize = frame->header.blocksize;
    const unsigned channels = frame->header.channels;
    const uint32_t sample_rate = frame->header.sample_rate;

    if (audio_device_is_open()) {
        OutputChain& chain = audio_device_chain();
        const int bits = frame_width(*frame, info);
        // One write per frame; only a stream far slower than the device
        // fills the buffer before the frame's end.
        for (size_t first = 0; first < blocksize;) {
            const size_t converted = chain.convert(buffer, channels, first, blocksize - first, bits, sample_rate);
            // Samples the chain dropped end the play: the clock must not run
            // while nothing reaches the device.
            if (chain.dropped()) {
                note_play_outcome(PlayOutcome::unplayable);
                return FLAC__STREAM_DECODER_WRITE_STATUS_ABORT;
            }
            if (write_to_device(chain.data(), chain.size()) != WriteResult::done)
                return FLAC__STREAM_DECODER_WRITE_STATUS_ABORT;
            if (converted == 0 && chain.size() == 0)
                break;
            first += converted;
        }
    }

    info.samples_played += blocksize;
    info.clock.advance(blocksize, sample_rate);
    info.position_sec = info.clock.position();

    const int32_t seconds = seconds_field(info.clock.seconds);
    if (seconds > info.elapsed_time) {
        info.elapsed_time = seconds;
        info.percent = percent_played(info.elapsed_time, info.total_time);
        eLirvaDialog::display_elapsed_time();
    }
    return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
}

void flush_sample_writer()
{
    if (!audio_device_is_open())
        return;
    OutputChain& chain = audio_device_chain();
    chain.drain();
    write_to_device(chain.data(), chain.size());
}
