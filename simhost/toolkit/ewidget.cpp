// eWidget: the widget tree, geometry and the text, all under the tree lock.
#include "ewidget.h"

#include <algorithm>

#include "emainloop.h"
#include "tree_lock.h"

eWidget::eWidget(eWidget* parent, int /*takefocus*/)
    : parent_(parent), visible_(parent != nullptr)   // children show with their window
{
    TreeLockGuard lock(widgetTreeLock());
    if (parent_)
        parent_->children_.push_back(this);
}

eWidget::~eWidget()
{
    TreeLockGuard lock(widgetTreeLock());
    // Each child's destructor takes itself out of children_.
    while (!children_.empty())
        delete children_.front();

    if (parent_) {
        eWidget* top = getTopLevel();
        if (top->focus_ == this)
            top->focus_ = nullptr;
        auto& siblings = parent_->children_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
        parent_->redraw();
    }
}

void eWidget::show()
{
    TreeLockGuard lock(widgetTreeLock());
    if (!visible_) {
        visible_ = true;
        redraw();
    }
}

void eWidget::hide()
{
    TreeLockGuard lock(widgetTreeLock());
    if (visible_) {
        visible_ = false;
        redraw();
    }
}

bool eWidget::isVisible() const
{
    TreeLockGuard lock(widgetTreeLock());
    return visible_;
}

void eWidget::move(const ePoint& pos)
{
    TreeLockGuard lock(widgetTreeLock());
    pos_ = pos;
    redraw();
}

void eWidget::resize(const eSize& size)
{
    TreeLockGuard lock(widgetTreeLock());
    size_ = size;
    recalcClientRect();
    redraw();
}

void eWidget::cmove(const ePoint& clientPos)
{
    TreeLockGuard lock(widgetTreeLock());
    move(ePoint(clientPos.x - client_.left(), clientPos.y - client_.top()));
}

void eWidget::cresize(const eSize& clientSize)
{
    TreeLockGuard lock(widgetTreeLock());
    // The frame is whatever recalcClientRect() leaves around the client
    // area; measure it on a size large enough for any frame.
    const eSize probe(1 << 20, 1 << 20);
    size_ = probe;
    recalcClientRect();
    const int frameWidth = probe.width() - client_.width();
    const int frameHeight = probe.height() - client_.height();
    resize(eSize(clientSize.width() + frameWidth, clientSize.height() + frameHeight));
}

ePoint eWidget::getPosition() const
{
    TreeLockGuard lock(widgetTreeLock());
    return pos_;
}

eSize eWidget::getSize() const
{
    TreeLockGuard lock(widgetTreeLock());
    return size_;
}

eRect eWidget::getClientRect() const
{
    TreeLockGuard lock(widgetTreeLock());
    return client_;
}

eRect eWidget::getAbsoluteRect() const
{
    TreeLockGuard lock(widgetTreeLock());
    ePoint corner = pos_;
    for (const eWidget* p = parent_; p; p = p->parent_) {
        corner.x += p->pos_.x + p->client_.left();
        corner.y += p->pos_.y + p->client_.top();
    }
    return eRect(corner, size_);
}

void eWidget::recalcClientRect()
{
    setClientRect(eRect(ePoint(0, 0), size_));
}

void eWidget::setClientRect(const eRect& r)
{
    TreeLockGuard lock(widgetTreeLock());
    client_ = r;
}

void eWidget::setText(const eString& text)
{
    if (assignLocked(text_, text))
        redraw();
}

eString eWidget::getText() const
{
    return readLocked(text_);
}

eWidget* eWidget::getTopLevel()
{
    TreeLockGuard lock(widgetTreeLock());
    eWidget* w = this;
    while (w->parent_)
        w = w->parent_;
    return w;
}

void eWidget::redraw()
{
    eMainloop::instance().requestRepaint();
}
