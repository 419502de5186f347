#ifndef LIRVA_TESTS_SIMHOST_PLAYER_WINDOW_FIXTURE_H
#define LIRVA_TESTS_SIMHOST_PLAYER_WINDOW_FIXTURE_H

#include <string>

#include "ebutton.h"
#include "elabel.h"
#include "elistbox.h"
#include "eprogress.h"
#include "ewindow.h"

// A window laid out like the player's: client area 510x460 at (100, 75),
// the list, the status labels, the progress bar and the two key buttons, in
// the player's creation order.
struct PlayerWindowLayout {
    eWindow window{1};
    eListBox<eListBoxEntryText>* list;
    eLabel* line1;
    eLabel* line3;
    eProgress* progress;
    eLabel* totalTime;
    eLabel* totalValue;
    eLabel* elapsedTime;
    eLabel* elapsedValue;
    eButton* root;
    eButton* stop;

    explicit PlayerWindowLayout(int entries = 3) {
        window.cmove(ePoint(100, 75));
        window.cresize(eSize(510, 460));
        window.setText("Lirva 0.0.2");
        list = new eListBox<eListBoxEntryText>(&window, nullptr, 1);
        list->move(ePoint(10, 10));
        list->resize(eSize(490, 300));
        list->loadDeco();
        line1 = label(10, 300);
        line3 = label(10, 340);
        root = button(10, "red", "Root");
        stop = button(150, "blue", "Stop");
        progress = new eProgress(&window, 0);
        progress->move(ePoint(10, 363));
        progress->resize(eSize(490, 18));
        totalTime = label(10, 380);
        totalValue = label(127, 380);
        elapsedTime = label(10, 400);
        elapsedValue = label(152, 400);
        fill(entries);
        window.setFocus(list);
        window.show();
    }

    void fill(int entries) {
        list->beginAtomic();
        list->clearList();
        new eListBoxEntryText(list, "..");
        for (int i = 1; i < entries; ++i) new eListBoxEntryText(list, "/dir" + std::to_string(i));
        list->endAtomic();
    }

private:
    eLabel* label(int x, int y) {
        auto* l = new eLabel(&window, 0, 0, "eLabel");
        l->move(ePoint(x, y));
        l->resize(eSize(500, 30));
        return l;
    }
    eButton* button(int x, const char* colour, const char* text) {
        auto* b = new eButton(&window, nullptr, 1, "eButton");
        b->move(ePoint(x, 425));
        b->resize(eSize(100, 30));
        b->setShortcut(colour);
        b->setShortcutPixmap(colour);
        b->loadDeco();
        b->setText(text);
        return b;
    }
};

#endif
