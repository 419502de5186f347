#ifndef LIRVA_HOST_ELABEL_H
#define LIRVA_HOST_ELABEL_H

#include "ewidget.h"

// One line of text.
class eLabel : public eDecoWidget {
public:
    explicit eLabel(eWidget* parent, int flags = 0, int takefocus = 0, const char* deco = "eLabel");

    // Shows the symbol of a colour key ("red", "blue", ...) beside the text.
    void setShortcutPixmap(const eString& colour);
};

#endif
