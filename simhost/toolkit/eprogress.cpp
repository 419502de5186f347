// eProgress: a percentage bar that any thread may update.
#include "eprogress.h"

#include "tree_lock.h"

eProgress::eProgress(eWidget* parent, int takefocus) : eWidget(parent, takefocus)
{
}

void eProgress::setPerc(int percent)
{
    std::lock_guard<std::recursive_mutex> lock(widgetTreeLock());
    if (perc_ != percent) {
        perc_ = percent;
        redraw();
    }
}

int eProgress::getPerc() const
{
    std::lock_guard<std::recursive_mutex> lock(widgetTreeLock());
    return perc_;
}
