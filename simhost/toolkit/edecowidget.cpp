// eDecoWidget: a widget whose frame is drawn once its decoration is loaded.
#include "ewidget.h"
#include "tree_lock.h"

eDecoWidget::eDecoWidget(eWidget* parent, int takefocus, const char* deco)
    : eWidget(parent, takefocus), deco_(deco)
{
}

void eDecoWidget::loadDeco()
{
    TreeLockGuard lock(widgetTreeLock());
    if (!decoLoaded_) {
        decoLoaded_ = true;
        redraw();
    }
}
