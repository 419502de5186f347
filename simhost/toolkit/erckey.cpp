// Names of the remote control's colour keys.
#include "erckey.h"

eString colourName(eRCKey key)
{
    switch (key) {
    case eRCKey::red: return "red";
    case eRCKey::green: return "green";
    case eRCKey::yellow: return "yellow";
    case eRCKey::blue: return "blue";
    default: return "";
    }
}
