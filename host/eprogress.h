#ifndef LIRVA_HOST_EPROGRESS_H
#define LIRVA_HOST_EPROGRESS_H

#include "ewidget.h"

// A horizontal bar showing a percentage. Values outside 0..100 are kept as
// given and drawn clamped.
class eProgress : public eWidget {
public:
    explicit eProgress(eWidget* parent, int takefocus = 0);

    void setPerc(int percent);   // any thread
    int getPerc() const;         // any thread

    eWidgetKind kind() const override { return eWidgetKind::progress; }

private:
    int perc_ = 0;
};

#endif
