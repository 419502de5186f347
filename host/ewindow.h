#ifndef LIRVA_HOST_EWINDOW_H
#define LIRVA_HOST_EWINDOW_H

#include "ewidget.h"

// A top-level window with a frame and a title bar; setText sets the title.
// Destroying a window destroys its child widgets.
class eWindow : public eWidget {
public:
    explicit eWindow(int deco = 1);
    ~eWindow() override;
};

#endif
