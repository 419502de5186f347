// eButton: a label that emits `selected` on OK or on its shortcut key.
#include "ebutton.h"

eButton::eButton(eWidget* parent, eLabel* /*descr*/, int takefocus, const char* deco)
    : eLabel(parent, 0, takefocus, deco)
{
}

bool eButton::keyDown(eRCKey key)
{
    if (key != eRCKey::ok)
        return eLabel::keyDown(key);
    selected();
    return true;
}

void eButton::shortcutAction()
{
    selected();
}
