// eWidget: the widget tree, geometry and the text, all under the tree lock.
#include "ewidget.h"

#include <algorithm>

#include "emainloop.h"
#include "ewidget_event.h"
#include "tree_lock.h"
#include "widget_private.h"

eWidget::Private::Private(eWidget& self_, eWidget* parent_)
    : self(self_), parent(parent_), visible(parent_ != nullptr)  // children show with their window
{ }

eWidget::eWidget(eWidget* parent, int /*takefocus*/) : d(new Private(*this, parent))
{
    TreeLockGuard lock(widgetTreeLock());
    if (parent)
        parent->d->children.push_back(this);
}

eWidget::~eWidget()
{
    {
        TreeLockGuard lock(widgetTreeLock());
        // Each child's destructor takes itself out of children.
        while (!d->children.empty())
            delete d->children.front();

        if (eWidget* parent = d->parent) {
            eWidget* top = d->getTopLevel();
            if (top->d->focus == this)
                top->d->focus = nullptr;
            auto& siblings = parent->d->children;
            siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
            d->redraw();
        }
    }
    delete d;
}

void eWidget::show()
{
    TreeLockGuard lock(widgetTreeLock());
    if (!d->visible) {
        willShow();
        d->visible = true;
        d->redraw();
    }
}

void eWidget::hide()
{
    TreeLockGuard lock(widgetTreeLock());
    if (d->visible) {
        willHide();
        d->visible = false;
        d->redraw();
    }
}

void eWidget::move(const ePoint& pos)
{
    TreeLockGuard lock(widgetTreeLock());
    d->pos = pos;
    d->redraw();
}

void eWidget::resize(const eSize& size)
{
    TreeLockGuard lock(widgetTreeLock());
    d->size = size;
    recalcClientRect();
    d->redraw();
}

void eWidget::cmove(const ePoint& clientPos)
{
    TreeLockGuard lock(widgetTreeLock());
    move(ePoint(clientPos.x - clientrect.left(), clientPos.y - clientrect.top()));
}

void eWidget::cresize(const eSize& clientSize)
{
    TreeLockGuard lock(widgetTreeLock());
    // The frame is whatever recalcClientRect() leaves around the client
    // area; measure it on a size large enough for any frame.
    const eSize probe(1 << 20, 1 << 20);
    d->size = probe;
    recalcClientRect();
    const int frameWidth = probe.width() - clientrect.width();
    const int frameHeight = probe.height() - clientrect.height();
    resize(eSize(clientSize.width() + frameWidth, clientSize.height() + frameHeight));
}

void eWidget::setText(const eString& text)
{
    if (assignLocked(d->text, text))
        d->redraw();
}

bool eWidget::Private::isVisible() const
{
    TreeLockGuard lock(widgetTreeLock());
    return visible;
}

eRect eWidget::Private::getClientRect() const
{
    TreeLockGuard lock(widgetTreeLock());
    return self.clientrect;
}

eRect eWidget::Private::getAbsoluteRect() const
{
    TreeLockGuard lock(widgetTreeLock());
    ePoint corner = pos;
    for (const eWidget* p = parent; p; p = p->d->parent) {
        corner.x += p->d->pos.x + p->clientrect.left();
        corner.y += p->d->pos.y + p->clientrect.top();
    }
    return eRect(corner, size);
}


void eWidget::Private::setClientRect(const eRect& r)
{
    TreeLockGuard lock(widgetTreeLock());
    self.clientrect = r;
}

eString eWidget::Private::getText() const
{
    return readLocked(text);
}

eString eWidget::Private::getShortcutPixmap() const
{
    return readLocked(pixmap);
}

int eWidget::Private::getPerc() const
{
    return readLocked(perc);
}

bool eWidget::Private::hasDeco() const
{
    return readLocked(decoLoaded);
}

eWidget* eWidget::Private::getTopLevel() const
{
    TreeLockGuard lock(widgetTreeLock());
    eWidget* w = &self;
    while (w->d->parent)
        w = w->d->parent;
    return w;
}

void eWidget::Private::redraw() const
{
    eMainloop::instance().requestRepaint();
}

// The virtual operations' defaults. Each kind of widget brings its content
// through the painter and its keys through Private::keyDown.

void eWidget::Private::paint(ePainter& target) const
{
    const eRect whole(ePoint(0, 0), readLocked(size));
    self.eraseBackground(&target, whole);
    self.redrawWidget(&target, whole);
}

void eWidget::willShow()
{ }

void eWidget::willHide()
{ }

void eWidget::setPalette()
{
    d->redraw();
}

void eWidget::recalcClientRect()
{
    d->setClientRect(eRect(ePoint(0, 0), readLocked(d->size)));
}

void eWidget::redrawWidget(ePainter* target, const eRect& area)
{
    target->drawContent(*this, area);
}

void eWidget::eraseBackground(ePainter* target, const eRect& area)
{
    target->clear(*this, area);
}

int eWidget::setProperty(const eString& prop, const eString& value)
{
    if (prop == "text")
        setText(value);
    else if (prop == "shortcut")
        setShortcut(value);
    else
        return 0;
    return 1;
}
