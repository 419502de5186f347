// eProgress: a percentage bar that any thread may update.
#include "eprogress.h"

#include "tree_lock.h"
#include "widget_private.h"

eProgress::eProgress(eWidget* parent, int takefocus) : eWidget(parent, takefocus)
{
    internals(*this).widgetKind = eWidgetKind::progress;
}

void eProgress::setPerc(int percent)
{
    eWidget::Private& d = internals(*this);
    if (assignLocked(d.perc, percent))
        d.redraw();
}
