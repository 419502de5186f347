#ifndef LIRVA_DSP_SIMULATED_DEVICE_H
#define LIRVA_DSP_SIMULATED_DEVICE_H

#include <sys/types.h>

#include <cstddef>

// The simulated OSS device behind the intercepted calls. Every function is
// thread-safe. Settings come from the environment at each open:
//   LIRVA_DSP_SPEED    playback speed factor, 1 = real time (default), 0 = unpaced
//   LIRVA_DSP_CAPTURE  file that receives what is played (".wav" for a WAV file)
//   LIRVA_DSP_LOG      file that receives one line per open, setting and close
//   LIRVA_DSP_ANSWER   answers to the settings other than what was asked
//                      (see device_answers.h)
//   LIRVA_DSP_RATES    the rates it plays, comma-separated (device_answers.h)
//   LIRVA_DSP_FAIL     "open", "write" or "eintr": every such call fails
//                      (failure_modes.h)

// Opens a simulated device; returns its descriptor (a real one, on /dev/null)
// or -1 with errno set.
int sim_open(int flags);

// True when `fd` is an open simulated device. Cheap when none is open.
bool sim_owns(int fd);

int sim_ioctl(int fd, unsigned long request, void* arg);

// Takes `size` bytes at the device's pace. A signal that interrupts the wait
// makes it return the bytes played so far, or -1 with EINTR when none were.
ssize_t sim_write(int fd, const void* data, size_t size);

int sim_close(int fd);

#endif
