#ifndef LIRVA_HOST_EWIDGET_H
#define LIRVA_HOST_EWIDGET_H

#include <sigc++/trackable.h>

#include <vector>

#include "erckey.h"
#include "erect.h"
#include "estring.h"

// What a widget is, for the host's screen painter.
enum class eWidgetKind { widget, window, label, button, progress, listbox };

// Base of every widget. Widgets form a tree: a child is created with its
// parent and deleted with it. Widgets are sigc::trackable, so the signal
// connections bound to a widget's members end when the widget is destroyed.
//
// Threads: the tree is built, shown, focused and destroyed on the GUI thread.
// setText (and eProgress::setPerc) may be called from any thread; the toolkit
// serialises them with painting, so the screen never shows a half-made change.
class eWidget : public sigc::trackable {
public:
    explicit eWidget(eWidget* parent = nullptr, int takefocus = 0);
    virtual ~eWidget();
    eWidget(const eWidget&) = delete;
    eWidget& operator=(const eWidget&) = delete;

    void show();
    void hide();
    // Shown itself (ancestors not considered). Children start shown, so they
    // appear with their window; a top-level widget starts hidden.
    bool isVisible() const;

    // Runs a modal loop on the calling thread until close() or reject();
    // remote-control keys are dispatched and signals emitted inside it.
    int exec();
    void close(int result);
    void accept() { close(0); }
    void reject() { close(-1); }   // nonzero result

    // Position relative to the parent's client area, and outer size.
    void move(const ePoint& pos);
    void resize(const eSize& size);
    // Position and size of the client area; for widgets without a frame
    // these are move() and resize().
    void cmove(const ePoint& clientPos);
    void cresize(const eSize& clientSize);
    ePoint getPosition() const;
    eSize getSize() const;
    // The client area, relative to the widget's own top-left corner.
    eRect getClientRect() const;
    // The widget's outer rectangle in screen coordinates.
    eRect getAbsoluteRect() const;

    void setText(const eString& text);   // any thread
    eString getText() const;              // any thread

    // Gives the input focus of this widget's window to `w` (a descendant).
    void setFocus(eWidget* w);
    eWidget* getFocus() const;   // the window's focused widget, or null
    bool hasFocus() const;

    // "red", "green", "yellow" or "blue": that colour key activates the widget.
    void setShortcut(const eString& colour);
    eString getShortcut() const;

    eWidget* getParent() const { return parent_; }
    eWidget* getTopLevel();
    const std::vector<eWidget*>& getChildren() const { return children_; }   // GUI thread

    virtual eWidgetKind kind() const { return eWidgetKind::widget; }

    // Delivers one remote-control key to this top-level widget: a colour key
    // goes to the visible descendant whose shortcut it is, any other key to
    // the focused widget. Returns true when something handled it.
    bool dispatchKey(eRCKey key);

    // Handles a key sent to this widget; true when handled.
    virtual bool keyDown(eRCKey key);
    // What the widget does when its shortcut key is pressed.
    virtual void shortcutAction() {}

protected:
    virtual void recalcClientRect();
    void setClientRect(const eRect& r);   // for frames: relative to the outer corner
    void redraw();                        // asks the host to repaint soon

private:
    eWidget* parent_;
    std::vector<eWidget*> children_;
    ePoint pos_;
    eSize size_;
    eRect client_;
    eString text_;
    eString shortcut_;
    eWidget* focus_ = nullptr;   // used on top-level widgets
    bool visible_ = false;
    bool inLoop_ = false;
    bool closing_ = false;
    int result_ = 0;

    friend class eMainloop;
};

// A widget with a decoration (a frame drawn around it once loaded).
class eDecoWidget : public eWidget {
public:
    explicit eDecoWidget(eWidget* parent = nullptr, int takefocus = 0, const char* deco = nullptr);
    void loadDeco();
    bool hasDeco() const { return decoLoaded_; }
    const eString& decoName() const { return deco_; }

private:
    eString deco_;
    bool decoLoaded_ = false;
};

#endif
