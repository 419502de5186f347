#ifndef LIRVA_HOST_EPROGRESS_H
#define LIRVA_HOST_EPROGRESS_H

#include "ewidget.h"

// A horizontal bar showing a percentage.
class eProgress : public eWidget {
public:
    explicit eProgress(eWidget* parent, int takefocus = 0);

    void setPerc(int percent);  // 0 to 100; any thread
};

#endif
