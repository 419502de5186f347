#ifndef LIRVA_SIMHOST_TOOLKIT_ENTRY_KEYS_H
#define LIRVA_SIMHOST_TOOLKIT_ENTRY_KEYS_H

#include <optional>
#include <vector>

#include "erckey.h"
#include "estring.h"

class eWidget;

// The keys that move the cursor of `top`'s focused list onto the entry
// shown as `text` ("down"s or "up"s, none when it is there already); nullopt
// when no list has the focus, or it is being filled, or it does not show
// that entry. For scripted users that walk by name rather than by row. Call
// with the widget tree locked.
std::optional<std::vector<eRCKey>> keysToEntry(const eWidget& top, const eString& text);

#endif
