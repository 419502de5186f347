#ifndef LIRVA_ENGINE_AUDIO_DEVICE_H
#define LIRVA_ENGINE_AUDIO_DEVICE_H

#include "output_chain.h"
#include "output_format.h"

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
// The open does not wait: a busy device fails at once. What the device
// answers to the three settings is what the play's output chain converts
// to. Returns whether there is something to play to: the device is open and
// accepted a format that can be sent to it. A descriptor still open from an
// earlier play is closed first.
bool audio_device_open();

// Once the stream's facts are known (STREAMINFO), before the first write:
// asks the device for the stream's own rate when it is a standard one; a
// device that answers another asks for 48000, then 44100 Hz, and what it
// answers last is what the chain converts to. `largest_frame` (0 when
// unknown) sizes the chain's buffer. Nothing happens without an open device.
void audio_device_take_stream(uint32_t rate, size_t largest_frame);

// Whether the open device, set up for the streams before, serves a stream
// of `rate` as it is: the set-up would ask nothing else of it (the rate is
// the last stream's, or one it does not ask for).
bool audio_device_serves(uint32_t rate);

// What the device accepted at the last set-up (what was asked for, where it
// gave no answer).
const OutputFormat& audio_device_format();

// The conversion from decoded frames to the device's bytes for the play
// that the set-up started; it ends with the close.
OutputChain& audio_device_chain();

// True while the set-up's descriptor is open and valid.
bool audio_device_is_open();

// Closes what audio_device_open() opened, once, and sets `audio` to 0.
// Never closes a descriptor it did not open (0 is stdin).
void audio_device_close();

#endif
