// The GUI thread's modal loop: paint when something changed, take one key,
// dispatch it, until the widget is closed.
#include "emainloop.h"

#include <chrono>

#include "ewidget.h"
#include "tree_lock.h"
#include "widget_private.h"

namespace {
// How long one wait for a key may last, so repaint requests are seen soon.
constexpr int keyWaitMs = 50;
}  // namespace

eMainloop& eMainloop::instance()
{
    static eMainloop loop;
    return loop;
}

void eMainloop::setFrontend(eFrontend* frontend)
{
    std::lock_guard<std::mutex> lock(mutex_);
    frontend_ = frontend;
    dirty_ = true;
    wake_.notify_all();
}

eFrontend* eMainloop::frontend() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return frontend_;
}

void eMainloop::postKey(eRCKey key)
{
    std::lock_guard<std::mutex> lock(mutex_);
    posted_.push_back(key);
    wake_.notify_all();
}

void eMainloop::requestRepaint()
{
    std::lock_guard<std::mutex> lock(mutex_);
    dirty_ = true;
    wake_.notify_all();
}

eWidget* eMainloop::modalWidget() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return modal_;
}

unsigned long eMainloop::keysHandled() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return handled_;
}

bool eMainloop::takePostedKey(eRCKey& key, int timeoutMs)
{
    std::unique_lock<std::mutex> lock(mutex_);
    // Without a frontend nothing is painted, so only a key ends the wait.
    wake_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                   [this] { return !posted_.empty() || (frontend_ && dirty_); });
    if (posted_.empty())
        return false;
    key = posted_.front();
    posted_.pop_front();
    return true;
}

int eMainloop::runModal(eWidget& w)
{
    std::recursive_mutex& tree = widgetTreeLock();
    eWidget::Private& d = internals(w);
    {
        TreeLockGuard lock(tree);
        if (d.inLoop)
            return -1;  // one loop per widget at a time
        d.inLoop = true;
        d.closing = false;
        d.result = 0;
    }
    eWidget* outer = nullptr;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        outer = modal_;
        modal_ = &w;
    }

    for (;;) {
        {
            TreeLockGuard lock(tree);
            if (d.closing)
                break;
        }

        eFrontend* screen = nullptr;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (frontend_ && dirty_) {
                screen = frontend_;
                dirty_ = false;
            }
        }
        if (screen) {
            // The lock keeps every change from another thread whole on screen.
            TreeLockGuard lock(tree);
            screen->paint(w);
        }

        // Keys are dispatched without the tree lock: slots may wait for a
        // thread that itself needs the lock to update a widget.
        eRCKey key;
        bool got = takePostedKey(key, 0);
        if (!got) {
            eFrontend* input = frontend();
            got = input ? input->nextKey(key, keyWaitMs) : takePostedKey(key, keyWaitMs);
        }
        if (got) {
            d.dispatchKey(key);
            std::lock_guard<std::mutex> lock(mutex_);
            ++handled_;
        }
    }

    {
        std::lock_guard<std::mutex> lock(mutex_);
        modal_ = outer;
    }
    TreeLockGuard lock(tree);
    d.inLoop = false;
    d.closing = false;
    return d.result;
}
