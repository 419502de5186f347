#ifndef LIRVA_ENGINE_PLAY_RUN_H
#define LIRVA_ENGINE_PLAY_RUN_H

#include "run_control.h"

// Plays `first` and, when `through_folder`, then each following FLAC file of
// its folder in the browser's order, on the calling thread, until the last
// one has played or `control` stops the run. A skip ends the current track
// as if it had ended. While the next track's output format is the one the
// device is set to, the device stays open and its samples follow the last
// ones directly; otherwise the device is set up again. A file that cannot
// be opened is passed over; a track whose play fails (the device, the file)
// ends the run. The device is closed and the display idle at the end.
void play_run(const char* first, RunControl& control, bool through_folder);

#endif
