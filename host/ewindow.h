#ifndef LIRVA_HOST_EWINDOW_H
#define LIRVA_HOST_EWINDOW_H

#include "ewidget.h"

// A top-level window with a frame and a title bar; setText sets the title.
// Destroying a window destroys its child widgets.
class eWindow : public eWidget {
public:
    static constexpr int titleHeight = 30;   // pixels above the client area
    static constexpr int borderWidth = 3;    // pixels around it

    explicit eWindow(int deco = 1);
    ~eWindow() override;

    eWidgetKind kind() const override { return eWidgetKind::window; }

protected:
    void recalcClientRect() override;
};

#endif
