#ifndef LIRVA_ENGINE_PLAY_STOP_H
#define LIRVA_ENGINE_PLAY_STOP_H

#include <atomic>

// The stop request of the play that runs on the calling thread. It is the
// plug-in's own: the GUI thread sets it before it kills the play thread, and
// the play reads it per frame, after an interrupted device write and on
// every read of the file. The toolkit is never asked.

// Binds the calling thread to `request` (its play thread's record) for as
// long as the thread runs; null unbinds it.
void bind_play_stop(const std::atomic<bool>* request);

// True once the calling thread's play has been asked to stop. False on a
// thread that plays without a stop request (a bare decoder session).
bool play_stop_requested();

#endif
