#ifndef LIRVA_HOST_EWIDGET_H
#define LIRVA_HOST_EWIDGET_H

#include <sigc++/sigc++.h>

#include "erect.h"
#include "estring.h"

// What the host passes to the event and painting operations. Their contents
// are the host's own; the plug-in never looks inside.
struct eWidgetEvent;
class ePainter;

// Base of every widget. Widgets form a tree: a child is created with its
// parent and deleted with it. A widget is a SigC::Object, so the signal
// connections bound to its members end when it is destroyed.
//
// Threads: the tree is built, shown, focused and destroyed on the GUI thread;
// setText (and eProgress::setPerc) may be called from any thread.
class eWidget : public SigC::Object {
public:
    explicit eWidget(eWidget* parent = nullptr, int takefocus = 0);
    virtual ~eWidget();
    eWidget(const eWidget&) = delete;
    eWidget& operator=(const eWidget&) = delete;

    void show();
    void hide();
    // Runs a modal loop on the calling thread (slots run inside it) until
    // the widget is closed; returns its result.
    int exec();
    // Closes the modal loop with a nonzero result.
    void reject();

    // Position in the parent's client area, and outer size.
    void move(const ePoint& pos);
    void resize(const eSize& size);
    // The same for a window's client area.
    void cmove(const ePoint& clientPos);
    void cresize(const eSize& clientSize);

    void setText(const eString& text);  // any thread
    // Gives the input focus of this widget's window to `w`, a descendant.
    void setFocus(eWidget* w);
    // "red", "green", "yellow" or "blue": that colour key activates the widget.
    void setShortcut(const eString& colour);

    // The host's own working, out of the plug-in's sight.
    struct Private;

protected:
    // The virtual operations, in the order of their table slots (after the
    // destructor's). The host calls them; a derived widget may take them
    // over. eWindow supplies willShow, willHide, recalcClientRect,
    // eventHandler, redrawWidget and eraseBackground anew.
    virtual void willShow();   // about to be shown
    virtual void willHide();   // about to be hidden
    virtual void setPalette();  // colours (re)applied
    // Sees every event for the widget's window first; nonzero keeps it there.
    virtual int eventFilter(const eWidgetEvent& event);
    // A remote-control key pressed or released while focused; nonzero when handled.
    virtual int keyDown(int key);
    virtual int keyUp(int key);
    virtual void gotFocus();
    virtual void lostFocus();
    // Sets clientrect from the widget's size.
    virtual void recalcClientRect();
    // Handles one event; the default passes keys and focus changes to the
    // operations above. Nonzero when handled.
    virtual int eventHandler(const eWidgetEvent& event);
    // Draws the widget's part of `area` (widget coordinates), after its
    // background.
    virtual void redrawWidget(ePainter* target, const eRect& area);
    virtual void eraseBackground(ePainter* target, const eRect& area);
    // Sets a property by name, as the host's skins do; nonzero when known.
    virtual int setProperty(const eString& prop, const eString& value);

    // The client area the host keeps for the widget, relative to its
    // top-left corner.
    eRect clientrect;

private:
    Private* d;
};

// A widget with a decoration (a frame drawn around it once loaded).
class eDecoWidget : public eWidget {
public:
    explicit eDecoWidget(eWidget* parent = nullptr, int takefocus = 0, const char* deco = nullptr);
    void loadDeco();
};

#endif
