// eProgress: a percentage bar that any thread may update.
#include "eprogress.h"

#include "tree_lock.h"

eProgress::eProgress(eWidget* parent, int takefocus) : eWidget(parent, takefocus)
{
}

void eProgress::setPerc(int percent)
{
    TreeLockGuard lock(widgetTreeLock());
    if (perc_ != percent) {
        perc_ = percent;
        redraw();
    }
}

int eProgress::getPerc() const
{
    TreeLockGuard lock(widgetTreeLock());
    return perc_;
}
