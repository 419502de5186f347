#include "play_run.h"

#include <lirva_dialog.h>

#include <string>

#include "audio_device.h"
#include "decoder_session.h"
#include "file_info.h"
#include "now_playing.h"
#include "play_stop.h"
#include "track_list.h"
#include "track_tags.h"

namespace {

// One track, the device already set up for the run. True when it played to
// its end or could not be opened (the run goes on), false when its play
// failed or the device could not be set up again.
bool play_track(const char* path, bool first_track)
{
    TrackTags tags;
    read_track_tags(path, tags);
    // A device that has played is set up anew, not changed in mid-stream.
    if (!first_track && !audio_device_serves(tags.sample_rate)) {
        audio_device_close();
        if (!audio_device_open())
            return false;
    }
    if (decoder_constructor(path) != 1)
        return true;
    describe_track(path, tags, file_info, audio_device_format());
    eLirvaDialog::DisplayTrack();
    const bool played = decode_to_end();
    decoder_close_session();
    return played;
}

}  // namespace

void play_run(const char* first, RunControl& control, bool through_folder)
{
    bind_play_stop(control.track_end());
    bind_run_control(&control);
    // Without a device nothing is decoded: progress shown while nothing
    // sounds would be a failure shown as success. The run just ends.
    if (audio_device_open()) {
        std::string path = first;
        for (bool first_track = true; control.begin_track(); first_track = false) {
            const bool played = play_track(path.c_str(), first_track);
            const bool skipped = !control.stopped() && *control.track_end();
            if (!through_folder || !(played || skipped) || (path = next_track(path)).empty())
                break;
        }
    }
    decoder_destructor();  // the device, and a session a failure left
    bind_run_control(nullptr);
    bind_play_stop(nullptr);
}
