// eWidget: focus, shortcut keys, key dispatch and the modal loop.
#include "emainloop.h"
#include "ewidget.h"
#include "tree_lock.h"

namespace {
// The first visible descendant (depth first, in creation order) whose
// shortcut is `colour`; hidden widgets hide their children too.
eWidget* findShortcut(const eWidget& root, const eString& colour)
{
    for (eWidget* child : root.getChildren()) {
        if (!child->isVisible())
            continue;
        if (child->getShortcut() == colour)
            return child;
        if (eWidget* found = findShortcut(*child, colour))
            return found;
    }
    return nullptr;
}

bool isInTree(const eWidget* w, const eWidget* top)
{
    while (w && w != top)
        w = w->getParent();
    return w == top;
}
}

int eWidget::exec()
{
    return eMainloop::instance().runModal(*this);
}

void eWidget::close(int result)
{
    {
        TreeLockGuard lock(widgetTreeLock());
        result_ = result;
        closing_ = true;
    }
    redraw();   // wakes the loop
}

void eWidget::setFocus(eWidget* w)
{
    TreeLockGuard lock(widgetTreeLock());
    eWidget* top = getTopLevel();
    if (w && !isInTree(w, top))
        return;   // focus stays within one window
    if (top->focus_ != w) {
        top->focus_ = w;
        redraw();
    }
}

eWidget* eWidget::getFocus() const
{
    TreeLockGuard lock(widgetTreeLock());
    const eWidget* top = this;
    while (top->parent_)
        top = top->parent_;
    return top->focus_;
}

bool eWidget::hasFocus() const
{
    return getFocus() == this;
}

void eWidget::setShortcut(const eString& colour)
{
    TreeLockGuard lock(widgetTreeLock());
    shortcut_ = colour;
}

eString eWidget::getShortcut() const
{
    TreeLockGuard lock(widgetTreeLock());
    return shortcut_;
}

bool eWidget::dispatchKey(eRCKey key)
{
    const eString colour = colourName(key);
    eWidget* target = nullptr;
    {
        TreeLockGuard lock(widgetTreeLock());
        target = colour.empty() ? focus_ : findShortcut(*this, colour);
    }
    // The handlers run without the lock: their slots may wait for other threads.
    if (!target)
        return false;
    if (!colour.empty()) {
        target->shortcutAction();
        return true;
    }
    return target->keyDown(key);
}

bool eWidget::keyDown(eRCKey)
{
    return false;
}
