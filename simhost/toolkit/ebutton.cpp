// eButton: a label that emits `selected` on OK or on its shortcut key.
#include "ebutton.h"

#include "widget_private.h"

eButton::eButton(eWidget* parent, eLabel* /*descr*/, int takefocus, const char* deco)
    : eLabel(parent, 0, takefocus, deco)
{
    eWidget::Private& d = internals(*this);
    d.widgetKind = eWidgetKind::button;
    d.keyDown = [this](eRCKey key) {
        if (key != eRCKey::ok)
            return false;
        selected();
        return true;
    };
    d.shortcutAction = [this] { selected(); };
}
