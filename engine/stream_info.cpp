// The stream facts from STREAMINFO and the track length.
#include <lirva_dialog.h>

#include "audio_device.h"
#include "flac_callbacks.h"
#include "play_clock.h"
#include "stream_info.h"

void forget_stream_info(FileInfo& info)
{
    info.bits_per_sample = 0;
    info.sample_rate = 0;
    info.channels = 0;
    info.total_samples = 0;
    info.samples_played = 0;
    info.length_sec = 0.0f;
    info.position_sec = 0.0f;
    info.clock.reset();
}

bool stream_info_received(const FileInfo& info)
{
    // STREAMINFO always states at least 4 bits per sample; forgetting the
    // facts sets 0, so the record itself says whether the block came.
    return info.bits_per_sample > 0;
}

void take_stream_info(FileInfo& info, const FLAC__StreamMetadata_StreamInfo& si)
{
    info.bits_per_sample = static_cast<int32_t>(si.bits_per_sample);
    info.sample_rate = static_cast<int32_t>(si.sample_rate);
    info.channels = static_cast<int32_t>(si.channels);
    info.total_samples = si.total_samples;
    info.samples_played = 0;
    // A rate of 0 gives no finite length: the length counts as unknown. The
    // whole seconds come from the integers, exact for any length.
    const uint32_t rate = si.sample_rate;
    info.length_sec = rate > 0 ? static_cast<float>(info.total_samples) / static_cast<float>(rate) : 0.0f;
    info.position_sec = 0.0f;
    info.clock.reset();
    info.total_time = rate > 0 ? seconds_field(info.total_samples / rate) : 0;
    audio_device_take_stream(si.sample_rate, si.max_blocksize);

    eLirvaDialog::DisplayElapsedTime();
    eLirvaDialog::DisplayTotalTime();
}

void flac_metadata_hdl(const FLAC__StreamDecoder*, const FLAC__StreamMetadata* metadata, void* client_data)
{
    if (metadata->type != FLAC__METADATA_TYPE_STREAMINFO)
        return;
    take_stream_info(*static_cast<FileInfo*>(client_data), metadata->data.stream_info);
}
