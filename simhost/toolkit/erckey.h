#ifndef LIRVA_SIMHOST_ERCKEY_H
#define LIRVA_SIMHOST_ERCKEY_H

#include "estring.h"

// Keys of the remote control, as the host delivers them to widgets.
enum class eRCKey { up, down, left, right, pageUp, pageDown, ok, exit, red, green, yellow, blue };

// "red", "green", "yellow", "blue" for the colour keys, "" for the others.
eString colourName(eRCKey key);

#endif
