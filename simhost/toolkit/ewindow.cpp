// eWindow: a top-level widget with a border and a title bar.
#include "ewindow.h"

#include <algorithm>

#include "widget_private.h"

eWindow::eWindow(int /*deco*/) : eWidget(nullptr, 0)
{
    eWidget::Private& d = internals(*this);
    d.widgetKind = eWidgetKind::window;
    d.clientRectFor = [](const eSize& outer) {
        const int width = std::max(0, outer.width() - 2 * windowBorderWidth);
        const int height = std::max(0, outer.height() - windowTitleHeight - 2 * windowBorderWidth);
        return eRect(windowBorderWidth, windowBorderWidth + windowTitleHeight, width, height);
    };
    d.recalcClientRect();
}

eWindow::~eWindow() = default;  // eWidget's destructor releases the children
