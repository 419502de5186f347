#ifndef LIRVA_HOST_EBUTTON_H
#define LIRVA_HOST_EBUTTON_H

#include "elabel.h"

// A label that can be activated (OK while it has the focus, or its shortcut
// key); activation emits `selected`.
class eButton : public eLabel {
public:
    explicit eButton(eWidget* parent, eLabel* descr = nullptr, int takefocus = 1, const char* deco = "eButton");

    SigC::Signal0<void> selected;
};

#endif
