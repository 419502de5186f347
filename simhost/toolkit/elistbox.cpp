// eListBoxBase: a list of owned entries with a cursor, scrolling by pages.
// Signals are emitted after the tree lock is released.
#include "elistbox.h"

#include <algorithm>
#include <cstring>

#include "tree_lock.h"

namespace {
// Byte order: every byte compared as unsigned char.
bool textBefore(const eListBoxEntry* a, const eListBoxEntry* b)
{
    const eString& x = a->getText();
    const eString& y = b->getText();
    const int head = std::memcmp(x.data(), y.data(), std::min(x.size(), y.size()));
    return head < 0 || (head == 0 && x.size() < y.size());
}
}

eListBoxBase::eListBoxBase(eWidget* parent, const eWidget* /*descr*/, int takefocus, const char* deco)
    : eDecoWidget(parent, takefocus, deco)
{
}

eListBoxBase::~eListBoxBase()
{
    TreeLockGuard lock(widgetTreeLock());
    for (eListBoxEntry* entry : entries_)
        delete entry;
    entries_.clear();
}

void eListBoxBase::beginAtomic()
{
    TreeLockGuard lock(widgetTreeLock());
    ++atomicDepth_;
}

void eListBoxBase::endAtomic()
{
    TreeLockGuard lock(widgetTreeLock());
    if (atomicDepth_ > 0 && --atomicDepth_ == 0)
        redraw();
}

void eListBoxBase::clearList()
{
    TreeLockGuard lock(widgetTreeLock());
    for (eListBoxEntry* entry : entries_)
        delete entry;
    entries_.clear();
    current_ = 0;
    top_ = 0;
    if (atomicDepth_ == 0)
        redraw();
}

void eListBoxBase::sort()
{
    TreeLockGuard lock(widgetTreeLock());
    std::stable_sort(entries_.begin(), entries_.end(), textBefore);
    current_ = 0;
    top_ = 0;
    if (atomicDepth_ == 0)
        redraw();
}

void eListBoxBase::append(eListBoxEntry* entry)
{
    if (!entry)
        return;
    TreeLockGuard lock(widgetTreeLock());
    entries_.push_back(entry);
    if (atomicDepth_ == 0)
        redraw();
}

int eListBoxBase::getCount() const
{
    TreeLockGuard lock(widgetTreeLock());
    return static_cast<int>(entries_.size());
}

eListBoxEntry* eListBoxBase::entryAt(int index) const
{
    TreeLockGuard lock(widgetTreeLock());
    if (index < 0 || index >= static_cast<int>(entries_.size()))
        return nullptr;
    return entries_[static_cast<size_t>(index)];
}

eListBoxEntry* eListBoxBase::getCurrent() const
{
    TreeLockGuard lock(widgetTreeLock());
    return entryAt(current_);
}

int eListBoxBase::getCurrentIndex() const
{
    TreeLockGuard lock(widgetTreeLock());
    return current_;
}

void eListBoxBase::setCurrentIndex(int index)
{
    moveCursor(index, true);
}

int eListBoxBase::getTop() const
{
    TreeLockGuard lock(widgetTreeLock());
    return top_;
}

int eListBoxBase::getPageSize() const
{
    TreeLockGuard lock(widgetTreeLock());
    return std::max(1, getClientRect().height() / eListBoxEntryText::getEntryHeight());
}

void eListBoxBase::moveCursor(int index, bool notify)
{
    eListBoxEntry* now = nullptr;
    {
        TreeLockGuard lock(widgetTreeLock());
        if (entries_.empty())
            return;
        index = std::clamp(index, 0, static_cast<int>(entries_.size()) - 1);
        if (index == current_)
            return;
        current_ = index;
        // Scroll just enough to keep the cursor on the page.
        const int page = getPageSize();
        if (current_ < top_)
            top_ = current_;
        else if (current_ >= top_ + page)
            top_ = current_ - page + 1;
        if (atomicDepth_ > 0)
            return;   // a batch tells nobody about intermediate cursors
        redraw();
        now = entries_[static_cast<size_t>(current_)];
    }
    if (notify)
        SendSelChanged(now);
}

bool eListBoxBase::keyDown(eRCKey key)
{
    const int current = getCurrentIndex();
    const int page = getPageSize();
    switch (key) {
    case eRCKey::up:
        moveCursor(current - 1, true);
        return true;
    case eRCKey::down:
        moveCursor(current + 1, true);
        return true;
    case eRCKey::left:
    case eRCKey::pageUp:
        moveCursor(current - page, true);
        return true;
    case eRCKey::right:
    case eRCKey::pageDown:
        moveCursor(current + page, true);
        return true;
    case eRCKey::ok:
        if (eListBoxEntry* entry = getCurrent())
            SendSelected(entry);
        return true;
    case eRCKey::exit:
        SendSelected(nullptr);
        return true;
    default:
        return eDecoWidget::keyDown(key);
    }
}
