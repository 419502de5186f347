// eWindow: a top-level widget with a border and a title bar.
#include "ewindow.h"

#include <algorithm>

eWindow::eWindow(int /*deco*/) : eWidget(nullptr, 0)
{
    recalcClientRect();
}

eWindow::~eWindow() = default;   // eWidget's destructor releases the children

void eWindow::recalcClientRect()
{
    const eSize outer = getSize();
    const int width = std::max(0, outer.width() - 2 * borderWidth);
    const int height = std::max(0, outer.height() - titleHeight - 2 * borderWidth);
    setClientRect(eRect(borderWidth, borderWidth + titleHeight, width, height));
}
