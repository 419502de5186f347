// eLabel: one line of text, optionally with a colour key's symbol.
#include "elabel.h"

#include "tree_lock.h"
#include "widget_private.h"

eLabel::eLabel(eWidget* parent, int /*flags*/, int takefocus, const char* deco) : eDecoWidget(parent, takefocus, deco)
{
    internals(*this).widgetKind = eWidgetKind::label;
}

void eLabel::setShortcutPixmap(const eString& colour)
{
    eWidget::Private& d = internals(*this);
    if (assignLocked(d.pixmap, colour))
        d.redraw();
}
