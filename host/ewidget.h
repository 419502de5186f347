#ifndef LIRVA_HOST_EWIDGET_H
#define LIRVA_HOST_EWIDGET_H

#include <sigc++/trackable.h>

#include "erect.h"
#include "estring.h"

// Base of every widget. Widgets form a tree: a child is created with its
// parent and deleted with it. Widgets are sigc::trackable, so the signal
// connections bound to a widget's members end when the widget is destroyed.
//
// Threads: the tree is built, shown, focused and destroyed on the GUI thread;
// setText (and eProgress::setPerc) may be called from any thread.
class eWidget : public sigc::trackable {
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
