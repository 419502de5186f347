#ifndef LIRVA_SIMHOST_WIDGET_PRIVATE_H
#define LIRVA_SIMHOST_WIDGET_PRIVATE_H

#include <functional>
#include <memory>
#include <vector>

#include "elistbox.h"
#include "erckey.h"
#include "ewidget.h"
#include "ewidget_event.h"

// What a widget is, for the screen painter.
enum class eWidgetKind { widget, window, label, button, progress, listbox };

// The stand-in's side of every widget: the tree, geometry, texts, focus,
// keys and the modal loop's state, behind eWidget's private pointer. The
// painter, the main loop and the toolkit's tests reach a widget's working
// through internals(w); the plug-in never sees any of it.
//
// Fields are guarded by the tree lock (tree_lock.h); the member functions
// take it themselves.
struct eWidget::Private {
    Private(eWidget& self, eWidget* parent);

    static Private& of(const eWidget& w) { return *w.d; }

    // --- the tree
    eWidget* getParent() const { return parent; }
    eWidget* getTopLevel() const;
    const std::vector<eWidget*>& getChildren() const { return children; }  // GUI thread
    eWidgetKind kind() const { return widgetKind; }

    // --- geometry, in pixels
    eRect getClientRect() const;    // relative to the widget's own corner
    eRect getAbsoluteRect() const;  // the outer rectangle on the screen

    // --- what is shown
    bool isVisible() const;  // shown itself; ancestors not considered
    eString getText() const;
    eString getShortcut() const;
    eString getShortcutPixmap() const;  // labels
    int getPerc() const;                // progress bars
    bool hasDeco() const;
    eWidget* getFocus() const;  // the window's focused widget, or null
    bool hasFocus() const;

    // --- keys and the modal loop
    // Delivers a key to this top-level widget: a colour key to the visible
    // descendant whose shortcut it is, any other to the focused widget.
    // True when something handled it.
    bool dispatchKey(eRCKey key);
    void close(int result);
    void redraw() const;  // asks the main loop to repaint soon
    // Paints the widget through its eraseBackground() and redrawWidget().
    void paint(ePainter& target) const;

    // --- lists
    int getCount() const;
    eListBoxEntryText* entryAt(int index) const;  // null when out of range
    eListBoxEntryText* getCurrent() const;        // null when the list is empty
    int getCurrentIndex() const;
    // Moves the cursor (clamped to the entries); tells SendSelChanged if it moved.
    void setCurrentIndex(int index);
    int getTop() const;       // index of the first visible row
    int getPageSize() const;  // rows that fit in the list's height
    void append(eListBoxEntryText* entry);
    void deleteEntries();

    void setClientRect(const eRect& r);

    eWidget& self;
    eWidget* parent;
    std::vector<eWidget*> children;
    ePoint pos;
    eSize size;
    eString text;
    eString shortcut;
    eWidget* focus = nullptr;  // on top-level widgets
    bool visible;
    bool inLoop = false;
    bool closing = false;
    int result = 0;

    // Set by each kind's constructor.
    eWidgetKind widgetKind = eWidgetKind::widget;
    std::function<bool(eRCKey)> keyDown;               // a key while focused; true when handled
    std::function<void()> shortcutAction;              // its colour key

    eString deco;
    bool decoLoaded = false;
    eString pixmap;
    int perc = 0;

    struct List {
        std::vector<eListBoxEntryText*> entries;
        int current = 0;
        int top = 0;
        int atomicDepth = 0;
        int itemHeight = 1;  // pixels per row
        std::function<void(eListBoxEntryText*)> selChanged;
    };
    std::unique_ptr<List> list;  // lists only
};

inline eWidget::Private& internals(const eWidget& w)
{
    return eWidget::Private::of(w);
}

// The frame of a window, in pixels.
constexpr int windowTitleHeight = 30;  // above the client area
constexpr int windowBorderWidth = 3;   // around it

#endif
