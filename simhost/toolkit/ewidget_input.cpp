// eWidget: focus, shortcut keys, key dispatch and the modal loop.
#include "emainloop.h"
#include "ewidget.h"
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
    if (top->d->focus != w) {
        top->d->focus = w;
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
    Private& t = *target->d;
    if (!colour.empty()) {
        if (t.shortcutAction)
            t.shortcutAction();
        return true;
    }
    return t.keyDown ? t.keyDown(key) : false;
}
