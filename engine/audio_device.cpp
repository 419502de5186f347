#include "audio_device.h"

#include <fcntl.h>
#include <linux/soundcard.h>
#include <sys/ioctl.h>
#include <unistd.h>

int audio;
int dsp_sample;
int dsp_stereo;
int dsp_speed;

const char* audio_device_path = "/dev/dsp";

namespace {
// `audio` is 0 both at load and for a device opened as descriptor 0, so
// whether the set-up holds a descriptor is kept apart.
bool device_open;
}  // namespace

bool audio_device_open()
{
    audio_device_close();

    // Never O_CREAT: a missing node would become a plain file. O_NONBLOCK
    // only for the open itself, so a busy device cannot hold the thread;
    // writes block, as they pace the play.
    audio = open(audio_device_path, O_WRONLY | O_NONBLOCK, 0);
    device_open = audio >= 0;
    if (device_open) {
        const int flags = fcntl(audio, F_GETFL);
        if (flags >= 0)
            fcntl(audio, F_SETFL, flags & ~O_NONBLOCK);
    }

    dsp_stereo = 2;
    dsp_speed = 44100;
    dsp_sample = AFMT_S16_BE;
    ioctl(audio, SNDCTL_DSP_SETFMT, &dsp_sample);
    ioctl(audio, SNDCTL_DSP_STEREO, &dsp_stereo);
    ioctl(audio, SNDCTL_DSP_SPEED, &dsp_speed);
    return device_open;
}

bool audio_device_is_open()
{
    return device_open;
}

void audio_device_close()
{
    if (device_open)
        close(audio);
    device_open = false;
    audio = 0;
}
