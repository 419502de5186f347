// eWindow: a top-level widget with a border and a title bar.
#include "ewindow.h"

#include <algorithm>

#include "ewidget_event.h"
#include "tree_lock.h"
#include "widget_private.h"

eWindow::eWindow(int /*deco*/) : eWidget(nullptr, 0)
{
    internals(*this).widgetKind = eWidgetKind::window;
    recalcClientRect();
}

eWindow::~eWindow() = default;  // eWidget's destructor releases the children

// A window's frame and title bar come and go with it: the whole screen changes.
void eWindow::willShow()
{
    internals(*this).redraw();
}

void eWindow::willHide()
{
    internals(*this).redraw();
}

void eWindow::recalcClientRect()
{
    const eSize outer = readLocked(internals(*this).size);
    const int width = std::max(0, outer.width() - 2 * windowBorderWidth);
    const int height = std::max(0, outer.height() - windowTitleHeight - 2 * windowBorderWidth);
    internals(*this).setClientRect(eRect(windowBorderWidth, windowBorderWidth + windowTitleHeight, width, height));
}

int eWindow::eventHandler(const eWidgetEvent& event)
{
    // A window handles its keys as any widget; focus changes are its children's.
    if (event.type == eWidgetEvent::gotFocus || event.type == eWidgetEvent::lostFocus)
        return 0;
    return eWidget::eventHandler(event);
}

void eWindow::redrawWidget(ePainter* target, const eRect& area)
{
    target->drawFrame(*this, area);
}

void eWindow::eraseBackground(ePainter* target, const eRect& area)
{
    target->clear(*this, area);
}
