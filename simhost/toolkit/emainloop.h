#ifndef LIRVA_SIMHOST_EMAINLOOP_H
#define LIRVA_SIMHOST_EMAINLOOP_H

#include <condition_variable>
#include <deque>
#include <mutex>

#include "erckey.h"

class eWidget;

// Where the host's keys come from and where its screen goes: the terminal,
// a script, or nothing (tests post keys themselves).
class eFrontend {
public:
    virtual ~eFrontend() = default;
    // Waits up to timeoutMs for the next key; false when none came.
    virtual bool nextKey(eRCKey& key, int timeoutMs) = 0;
    // Paints the screen with `top` as the modal window. Called on the GUI
    // thread with the widget tree locked.
    virtual void paint(const eWidget& top) = 0;
};

// The GUI thread's event loop: runs a widget modally, dispatches keys to it
// and repaints it when something changed.
class eMainloop {
public:
    static eMainloop& instance();

    // Not owned; null (the default) means keys only from postKey() and no painting.
    void setFrontend(eFrontend* frontend);
    eFrontend* frontend() const;

    // Queues a key for the running modal loop, or the next one to start; any thread.
    void postKey(eRCKey key);
    // Keys a modal loop has dispatched so far, their slots returned; any thread.
    unsigned long keysHandled() const;
    // Marks the screen as changed and wakes the loop; any thread.
    void requestRepaint();

    // Runs until `w` is closed; returns its result. GUI thread.
    int runModal(eWidget& w);
    // The widget of the innermost running modal loop, or null; any thread.
    // Look inside it only with the widget tree locked.
    eWidget* modalWidget() const;

private:
    eMainloop() = default;
    bool takePostedKey(eRCKey& key, int timeoutMs);

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<eRCKey> posted_;
    bool dirty_ = true;
    unsigned long handled_ = 0;
    eFrontend* frontend_ = nullptr;
    eWidget* modal_ = nullptr;
};

#endif
