// eProgress: a percentage bar that any thread may update.
#include "eprogress.h"

#include "tree_lock.h"

eProgress::eProgress(eWidget* parent, int takefocus) : eWidget(parent, takefocus)
{
}

void eProgress::setPerc(int percent)
{
    if (assignLocked(perc_, percent))
        redraw();
}

int eProgress::getPerc() const
{
    return readLocked(perc_);
}
