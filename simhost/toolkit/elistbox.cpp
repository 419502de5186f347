// eListBoxBase: a list of owned entries with a cursor, scrolling by pages.
// Signals are emitted after the tree lock is released.
#include "elistbox.h"

#include <algorithm>
#include <cstring>

#include "tree_lock.h"
#include "widget_private.h"

namespace {
// Byte order: every byte compared as unsigned char.
bool textBefore(eListBoxEntryText* a, eListBoxEntryText* b)
{
    const eString& x = a->getText();
    const eString& y = b->getText();
    const int head = std::memcmp(x.data(), y.data(), std::min(x.size(), y.size()));
    return head < 0 || (head == 0 && x.size() < y.size());
}
}  // namespace

eListBoxBase::eListBoxBase(eWidget* parent, const eWidget* /*descr*/, int takefocus, int itemHeight,
                           const char* deco)
    : eDecoWidget(parent, takefocus, deco)
{
    eWidget::Private& d = internals(*this);
    d.widgetKind = eWidgetKind::listbox;
    d.list = std::make_unique<eWidget::Private::List>();
    d.list->itemHeight = std::max(1, itemHeight);
    // Up/down move the cursor, left/right and the page keys a page, OK
    // selects the entry under the cursor, EXIT selects nothing.
    d.keyDown = [this, &d](eRCKey key) {
        const int current = d.getCurrentIndex();
        const int page = d.getPageSize();
        switch (key) {
        case eRCKey::up: d.setCurrentIndex(current - 1); return true;
        case eRCKey::down: d.setCurrentIndex(current + 1); return true;
        case eRCKey::left:
        case eRCKey::pageUp: d.setCurrentIndex(current - page); return true;
        case eRCKey::right:
        case eRCKey::pageDown: d.setCurrentIndex(current + page); return true;
        case eRCKey::ok:
            if (eListBoxEntryText* entry = d.getCurrent())
                SendSelected(entry);
            return true;
        case eRCKey::exit: SendSelected(nullptr); return true;
        default: return false;
        }
    };
    d.list->selChanged = [this](eListBoxEntryText* entry) { SendSelChanged(entry); };
}

eListBoxBase::~eListBoxBase()
{
    internals(*this).deleteEntries();
}

void eListBoxBase::beginAtomic()
{
    TreeLockGuard lock(widgetTreeLock());
    ++internals(*this).list->atomicDepth;
}

void eListBoxBase::endAtomic()
{
    TreeLockGuard lock(widgetTreeLock());
    eWidget::Private& d = internals(*this);
    if (d.list->atomicDepth > 0 && --d.list->atomicDepth == 0)
        d.redraw();
}

void eListBoxBase::clearList()
{
    TreeLockGuard lock(widgetTreeLock());
    eWidget::Private& d = internals(*this);
    d.deleteEntries();
    if (d.list->atomicDepth == 0)
        d.redraw();
}

void eListBoxBase::sort()
{
    TreeLockGuard lock(widgetTreeLock());
    eWidget::Private& d = internals(*this);
    std::stable_sort(d.list->entries.begin(), d.list->entries.end(), textBefore);
    d.list->current = 0;
    d.list->top = 0;
    if (d.list->atomicDepth == 0)
        d.redraw();
}

void eWidget::Private::deleteEntries()
{
    TreeLockGuard lock(widgetTreeLock());
    for (eListBoxEntryText* entry : list->entries)
        delete entry;
    list->entries.clear();
    list->current = 0;
    list->top = 0;
}

void eWidget::Private::append(eListBoxEntryText* entry)
{
    TreeLockGuard lock(widgetTreeLock());
    list->entries.push_back(entry);
    if (list->atomicDepth == 0)
        redraw();
}

int eWidget::Private::getCount() const
{
    TreeLockGuard lock(widgetTreeLock());
    return static_cast<int>(list->entries.size());
}

eListBoxEntryText* eWidget::Private::entryAt(int index) const
{
    TreeLockGuard lock(widgetTreeLock());
    if (index < 0 || index >= static_cast<int>(list->entries.size()))
        return nullptr;
    return list->entries[static_cast<size_t>(index)];
}

eListBoxEntryText* eWidget::Private::getCurrent() const
{
    TreeLockGuard lock(widgetTreeLock());
    return entryAt(list->current);
}

int eWidget::Private::getCurrentIndex() const
{
    TreeLockGuard lock(widgetTreeLock());
    return list->current;
}

int eWidget::Private::getTop() const
{
    TreeLockGuard lock(widgetTreeLock());
    return list->top;
}

int eWidget::Private::getPageSize() const
{
    TreeLockGuard lock(widgetTreeLock());
    return std::max(1, self.clientrect.height() / list->itemHeight);
}

void eWidget::Private::setCurrentIndex(int index)
{
    eListBoxEntryText* now = nullptr;
    {
        TreeLockGuard lock(widgetTreeLock());
        auto& entries = list->entries;
        if (entries.empty())
            return;
        index = std::clamp(index, 0, static_cast<int>(entries.size()) - 1);
        if (index == list->current)
            return;
        list->current = index;
        // Scroll just enough to keep the cursor on the page.
        const int page = getPageSize();
        if (list->current < list->top)
            list->top = list->current;
        else if (list->current >= list->top + page)
            list->top = list->current - page + 1;
        if (list->atomicDepth > 0)
            return;  // a batch tells nobody about intermediate cursors
        redraw();
        now = entries[static_cast<size_t>(list->current)];
    }
    list->selChanged(now);
}
