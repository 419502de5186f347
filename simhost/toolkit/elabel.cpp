// eLabel: one line of text, optionally with a colour key's symbol.
#include "elabel.h"

#include "tree_lock.h"

eLabel::eLabel(eWidget* parent, int /*flags*/, int takefocus, const char* deco)
    : eDecoWidget(parent, takefocus, deco)
{
}

void eLabel::setShortcutPixmap(const eString& colour)
{
    if (assignLocked(pixmap_, colour))
        redraw();
}

eString eLabel::getShortcutPixmap() const
{
    return readLocked(pixmap_);
}
