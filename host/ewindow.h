#ifndef LIRVA_HOST_EWINDOW_H
#define LIRVA_HOST_EWINDOW_H

#include "ewidget.h"

// A top-level window with a frame and a title bar; setText sets the title.
// Destroying a window destroys its child widgets.
class eWindow : public eWidget {
public:
    explicit eWindow(int deco = 1);
    ~eWindow() override;

protected:
    // The frame and title bar: the window's own drawing, events and client area.
    void willShow() override;
    void willHide() override;
    void recalcClientRect() override;
    int eventHandler(const eWidgetEvent& event) override;
    void redrawWidget(ePainter* target, const eRect& area) override;
    void eraseBackground(ePainter* target, const eRect& area) override;
};

#endif
