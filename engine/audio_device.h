#ifndef LIRVA_ENGINE_AUDIO_DEVICE_H
#define LIRVA_ENGINE_AUDIO_DEVICE_H

// The OSS audio device. `audio` holds what open() returned (also -1 when
// there is no device) from the set-up to the close, and 0 otherwise. The
// dsp_ words are the arguments of the three settings, passed by address; the
// driver may write back the value it accepted.
extern int audio;
extern int dsp_sample;
extern int dsp_stereo;
extern int dsp_speed;

// The device's node. Only tests point it elsewhere.
extern const char* audio_device_path;

// Opens the device write-only (never creating it) and sets it to signed
// 16-bit big-endian samples, two channels and 44100 Hz, in that order.
// The open does not wait: a busy device fails at once. Returns whether the
// device is open; without one there is nothing to play to. A descriptor
// still open from an earlier play is closed first.
bool audio_device_open();

// True while the set-up's descriptor is open and valid.
bool audio_device_is_open();

// Closes what audio_device_open() opened, once, and sets `audio` to 0.
// Never closes a descriptor it did not open (0 is stdin).
void audio_device_close();

#endif
