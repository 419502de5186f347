#ifndef LIRVA_PLUGIN_PLAY_THREAD_H
#define LIRVA_PLUGIN_PLAY_THREAD_H

#include <atomic>

class ExecThread;

// The thread of the file that plays, or null. Written on the GUI thread and
// on the play thread's end, read on the GUI thread: hence atomic.
extern std::atomic<ExecThread*> execThread;

#endif
