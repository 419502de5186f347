#include "audio_device.h"

#include <fcntl.h>
#include <linux/soundcard.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "descriptor.h"
#include "play_outcome.h"

int audio;
int dsp_sample;
int dsp_stereo;
int dsp_speed;

const char* audio_device_path = "/dev/dsp";

namespace {
// `audio` is 0 both at load and for a device opened as descriptor 0, so
// the set-up's descriptor is held apart.
Descriptor device;
OutputFormat accepted;
uint32_t stream_rate;  // of the stream the device was last asked for; 0: none yet
OutputChain chain;

// The format that the device's answers describe. A refused request leaves
// its argument as it was asked for. The stereo request answers 0 for one
// channel and 1 (or the 2 asked for) for two.
OutputFormat read_answers()
{
    OutputFormat f;
    f.playable = dsp_sample == AFMT_S16_BE || dsp_sample == AFMT_S16_LE;
    f.big_endian = dsp_sample == AFMT_S16_BE;
    f.channels = dsp_stereo == 0 ? 1 : 2;
    // A rate no device plays is as unusable as a format we do not write.
    if (dsp_speed < min_device_rate || dsp_speed > max_device_rate)
        f.playable = false;
    else
        f.rate = static_cast<uint32_t>(dsp_speed);
    return f;
}

// The rates a device may take as they are: the usual ones from 8 to 192 kHz.
bool is_standard_rate(uint32_t rate)
{
    constexpr uint32_t standard[] = {8000,  11025, 12000, 16000, 22050,  24000,  32000,
                                     44100, 48000, 64000, 88200, 96000, 176400, 192000};
    for (uint32_t r : standard)
        if (r == rate)
            return true;
    return false;
}

// Asks for `rate`; true when the device takes it. `dsp_speed` then holds
// the device's answer; a request that fails changes nothing on the device.
bool ask_rate(int rate)
{
    const int before = dsp_speed;
    dsp_speed = rate;
    if (ioctl(audio, SNDCTL_DSP_SPEED, &dsp_speed) != 0)
        dsp_speed = before;
    return dsp_speed == rate;
}

// Whether a stream of `rate` makes the set-up ask the device for it.
bool asks_for(uint32_t rate)
{
    return is_standard_rate(rate) && rate != accepted.rate && accepted.playable;
}
}  // namespace

bool audio_device_open()
{
    audio_device_close();

    // Never O_CREAT: a missing node would become a plain file. O_NONBLOCK
    // only for the open itself, so a busy device cannot hold the thread;
    // writes block, as they pace the play.
    // O_CLOEXEC: the plug-in lives in the host's process, and a program the
    // host starts must not keep the device open.
    audio = open(audio_device_path, O_WRONLY | O_NONBLOCK | O_CLOEXEC, 0);
    device.reset(audio);
    const bool device_open = device.valid();
    if (device_open) {
        const int flags = fcntl(audio, F_GETFL);
        if (flags >= 0)
            fcntl(audio, F_SETFL, flags & ~O_NONBLOCK);
    }

    dsp_stereo = 2;
    dsp_speed = 44100;
    dsp_sample = AFMT_S16_BE;
    if (device_open) {  // no settings on a descriptor that failed to open
        ioctl(audio, SNDCTL_DSP_SETFMT, &dsp_sample);
        ioctl(audio, SNDCTL_DSP_STEREO, &dsp_stereo);
        ioctl(audio, SNDCTL_DSP_SPEED, &dsp_speed);
    }

    accepted = read_answers();
    stream_rate = 0;
    chain.begin(accepted);
    begin_play_outcome();
    if (!device_open)
        note_play_outcome(PlayOutcome::no_device);
    else if (!accepted.playable)
        note_play_outcome(PlayOutcome::device_refused);  // silence, not noise
    return device_open && accepted.playable;
}

void audio_device_take_stream(uint32_t rate, size_t largest_frame)
{
    if (!device.valid())
        return;
    if (asks_for(rate)) {
        const int own = static_cast<int>(rate);
        if (!ask_rate(own) && (own == 48000 || !ask_rate(48000)) && own != 44100)
            ask_rate(44100);
        accepted = read_answers();
    }
    stream_rate = rate;
    chain.begin(accepted, largest_frame);
}

bool audio_device_serves(uint32_t rate)
{
    return device.valid() && (rate == stream_rate || !asks_for(rate));
}

const OutputFormat& audio_device_format()
{
    return accepted;
}

OutputChain& audio_device_chain()
{
    return chain;
}

bool audio_device_is_open()
{
    return device.valid();
}

void audio_device_close()
{
    device.reset();
    audio = 0;
    chain.end();
}
