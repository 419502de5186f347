// The decoder session: open, decode to the end, close.
#include <cstring>
#include <memory>

#include <lirva_dialog.h>

#include "audio_device.h"
#include "decoder_session.h"
#include "file_info.h"
#include "flac_callbacks.h"
#include "flac_file.h"
#include "now_playing.h"
#include "play_outcome.h"
#include "play_stop.h"
#include "sample_writer.h"
#include "stream_info.h"

namespace {

constexpr size_t max_filename = sizeof(file_info.filename) - 1;

struct DeleteDecoder {
    void operator()(FLAC__StreamDecoder* d) const { FLAC__stream_decoder_delete(d); }
};
// The session's decoder; the record's pointer names it while it is held.
std::unique_ptr<FLAC__StreamDecoder, DeleteDecoder> decoder;

void drop_decoder()
{
    file_info.decoder = nullptr;
    decoder.reset();
    flac_file_close();
}

}  // namespace

void flac_error_hdl(const FLAC__StreamDecoder*, FLAC__StreamDecoderErrorStatus, void*)
{ }

int decoder_constructor(const char* path)
{
    size_t n = strlen(path);
    if (n > max_filename)
        n = max_filename;
    file_info.filename[n] = '\0';
    memcpy(file_info.filename, path, n);

    forget_stream_info(file_info);

    decoder.reset(FLAC__stream_decoder_new());
    file_info.decoder = decoder.get();
    if (file_info.decoder == nullptr)
        return 0;

    FLAC__stream_decoder_set_md5_checking(file_info.decoder, true);
    // The whole path is opened, not the possibly shortened copy; libFLAC
    // reads it through our callbacks, which answer a stop at once.
    if (!flac_file_open(path)) {
        note_play_outcome(PlayOutcome::unreadable);
        drop_decoder();
        return 0;
    }
    FLAC__StreamDecoderInitStatus init = FLAC__stream_decoder_init_stream(
        file_info.decoder, flac_file_read, flac_file_seek, flac_file_tell, flac_file_length, flac_file_eof,
        flac_write_hdl, flac_metadata_hdl, flac_error_hdl, &file_info);
    if (init != FLAC__STREAM_DECODER_INIT_STATUS_OK) {
        drop_decoder();
        return 0;
    }

    if (!FLAC__stream_decoder_process_until_end_of_metadata(file_info.decoder)) {
        note_play_outcome(play_stop_requested() ? PlayOutcome::stopped : PlayOutcome::not_flac);
        drop_decoder();
        return 0;
    }

    // A stream without STREAMINFO still plays: its length is unknown (00:00)
    // and the elapsed time counts under its caption.
    if (!stream_info_received(file_info)) {
        eLirvaDialog::DisplayElapsedTime();
        eLirvaDialog::DisplayTotalTime();
    }
    file_info.is_playing = 1;
    return 1;
}

void play_file(const char* path)
{
    if (decoder_constructor(path) == 1)
        decode_to_end();
    decoder_destructor();
}

bool decode_to_end()
{
    const bool ended = FLAC__stream_decoder_process_until_end_of_stream(file_info.decoder);
    if (ended)
        flush_sample_writer();  // the resampler's last samples
    // The first reason noted (a failed write, a stream the device cannot
    // play) stands; otherwise the ending says it.
    note_play_outcome(play_stop_requested()        ? PlayOutcome::stopped
                          : flac_file_search_gave_up() ? PlayOutcome::no_frame
                                                       : PlayOutcome::played);
    return ended;
}

void decoder_destructor()
{
    decoder_close_session();
    audio_device_close();
}

void decoder_close_session()
{
    if (decoder) {
        FLAC__stream_decoder_finish(decoder.get());  // an MD5 mismatch is ignored
        drop_decoder();                              // closes the file too
    }
    file_info.is_playing = 0;
    file_info.filename[0] = '\0';
    file_info.total_time = 0;
    file_info.elapsed_time = 0;
    file_info.percent = 0;

    forget_track();
    eLirvaDialog::HideTrack();
    eLirvaDialog::HideElapsedTime();
    eLirvaDialog::ResetProgressBar();
    eLirvaDialog::HideTotalTime();
}
