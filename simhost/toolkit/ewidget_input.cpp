// eWidget: focus, shortcut keys, key dispatch and the modal loop.
#include "emainloop.h"
#include "ewidget.h"
#include "ewidget_event.h"
#include "tree_lock.h"
#include "widget_private.h"

namespace {
// The first visible descendant (depth first, in creation order) whose
// shortcut is `colour`; hidden widgets hide their children too.
eWidget* findShortcut(const eWidget& root, const eString& colour)
{
    for (eWidget* child : internals(root).getChildren()) {
        const eWidget::Private& c = internals(*child);
        if (!c.isVisible())
            continue;
        if (c.getShortcut() == colour)
            return child;
        if (eWidget* found = findShortcut(*child, colour))
            return found;
    }
    return nullptr;
}

bool isInTree(const eWidget* w, const eWidget* top)
{
    while (w && w != top)
        w = internals(*w).getParent();
    return w == top;
}
}  // namespace

int eWidget::exec()
{
    return eMainloop::instance().runModal(*this);
}

void eWidget::reject()
{
    d->close(-1);
}

void eWidget::Private::close(int result_)
{
    {
        TreeLockGuard lock(widgetTreeLock());
        result = result_;
        closing = true;
    }
    redraw();  // wakes the loop
}

void eWidget::setFocus(eWidget* w)
{
    TreeLockGuard lock(widgetTreeLock());
    eWidget* top = d->getTopLevel();
    if (w && !isInTree(w, top))
        return;  // focus stays within one window
    eWidget* was = top->d->focus;
    if (was != w) {
        top->d->focus = w;
        if (was)
            was->eventHandler(eWidgetEvent{eWidgetEvent::lostFocus});
        if (w)
            w->eventHandler(eWidgetEvent{eWidgetEvent::gotFocus});
        d->redraw();
    }
}

eWidget* eWidget::Private::getFocus() const
{
    TreeLockGuard lock(widgetTreeLock());
    return getTopLevel()->d->focus;
}

bool eWidget::Private::hasFocus() const
{
    return getFocus() == &self;
}

void eWidget::setShortcut(const eString& colour)
{
    TreeLockGuard lock(widgetTreeLock());
    d->shortcut = colour;
}

eString eWidget::Private::getShortcut() const
{
    return readLocked(shortcut);
}

bool eWidget::Private::dispatchKey(eRCKey key)
{
    const eString colour = colourName(key);
    eWidget* target = nullptr;
    {
        TreeLockGuard lock(widgetTreeLock());
        target = colour.empty() ? focus : findShortcut(self, colour);
    }
    // The handlers run without the lock: their slots may wait for other threads.
    if (!target)
        return false;
    const eWidgetEvent event{colour.empty() ? eWidgetEvent::keyDown : eWidgetEvent::shortcut, key};
    // The window sees every key first.
    if (self.eventFilter(event))
        return true;
    return target->eventHandler(event) != 0;
}

int eWidget::eventFilter(const eWidgetEvent&)
{
    return 0;
}

int eWidget::eventHandler(const eWidgetEvent& event)
{
    switch (event.type) {
    case eWidgetEvent::keyDown: return keyDown(static_cast<int>(event.key));
    case eWidgetEvent::keyUp: return keyUp(static_cast<int>(event.key));
    case eWidgetEvent::shortcut:
        if (!d->shortcutAction)
            return 0;
        d->shortcutAction();
        return 1;
    case eWidgetEvent::gotFocus: gotFocus(); return 1;
    case eWidgetEvent::lostFocus: lostFocus(); return 1;
    }
    return 0;
}

// Each kind of widget brings its own keys (Private::keyDown).
int eWidget::keyDown(int key)
{
    return d->keyDown && d->keyDown(static_cast<eRCKey>(key)) ? 1 : 0;
}

// The stand-in's remote reports presses only.
int eWidget::keyUp(int)
{
    return 0;
}

// The focused widget is drawn highlighted.
void eWidget::gotFocus()
{
    d->redraw();
}

void eWidget::lostFocus()
{
    d->redraw();
}
