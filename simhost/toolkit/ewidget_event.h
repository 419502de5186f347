#ifndef LIRVA_SIMHOST_EWIDGET_EVENT_H
#define LIRVA_SIMHOST_EWIDGET_EVENT_H

#include "erckey.h"
#include "erect.h"

class eWidget;

// What the stand-in's main loop hands to eventFilter() and eventHandler().
struct eWidgetEvent {
    enum Type {
        keyDown,    // a remote-control key pressed (`key`)
        keyUp,      // and released
        shortcut,   // the widget's colour key (`key`)
        gotFocus,   // the widget got its window's focus
        lostFocus,  // and lost it
    };
    Type type;
    eRCKey key = eRCKey::ok;
};

// Where redrawWidget() and eraseBackground() draw: the screen painter.
class ePainter {
public:
    virtual ~ePainter() = default;
    // A widget's own content (text, bar, rows) in `area`, its coordinates.
    virtual void drawContent(const eWidget& w, const eRect& area) = 0;
    // A window's frame and title bar.
    virtual void drawFrame(const eWidget& w, const eRect& area) = 0;
    // Clears `area` to the widget's background.
    virtual void clear(const eWidget& w, const eRect& area) = 0;
};

#endif
