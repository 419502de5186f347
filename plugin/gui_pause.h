#ifndef LIRVA_PLUGIN_GUI_PAUSE_H
#define LIRVA_PLUGIN_GUI_PAUSE_H

// The GUI thread's pause after stopping a play thread: sleep() by default.
// Tests point it elsewhere to see the pauses without spending them.
extern unsigned (*gui_pause)(unsigned seconds);

#endif
