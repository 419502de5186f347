// eDecoWidget: a widget whose frame is drawn once its decoration is loaded.
#include "ewidget.h"
#include "tree_lock.h"
#include "widget_private.h"

eDecoWidget::eDecoWidget(eWidget* parent, int takefocus, const char* deco) : eWidget(parent, takefocus)
{
    internals(*this).deco = deco;
}

void eDecoWidget::loadDeco()
{
    TreeLockGuard lock(widgetTreeLock());
    eWidget::Private& d = internals(*this);
    if (!d.decoLoaded) {
        d.decoLoaded = true;
        d.redraw();
    }
}
