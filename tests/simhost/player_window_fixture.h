#ifndef LIRVA_TESTS_SIMHOST_PLAYER_WINDOW_FIXTURE_H
#define LIRVA_TESTS_SIMHOST_PLAYER_WINDOW_FIXTURE_H

#include <string>

#include "ebutton.h"
#include "elabel.h"
#include "elistbox.h"
#include "eprogress.h"
#include "ewindow.h"

// A window laid out like the player's: client area 510x460 at (100, 75),
// the list (".." and "/dir1" on), the status labels, the progress bar and the
// two key buttons, in the player's creation order.
struct PlayerWindowLayout {
    eWindow window{1};
    eListBox<eListBoxEntryText>* list;
    eLabel *line1, *line3, *totalTime, *totalValue, *elapsedTime, *elapsedValue;
    eProgress* progress;
    eButton *root, *stop;

    explicit PlayerWindowLayout(int entries = 3)
    {
        window.cmove(ePoint(100, 75));
        window.cresize(eSize(510, 460));
        window.setText("Lirva 0.0.2");
        list = place(new eListBox<eListBoxEntryText>(&window, nullptr, 1), 10, 10, 490, 300);
        list->loadDeco();
        for (int i = 0; i < entries; ++i)
            new eListBoxEntryText(list, i ? "/dir" + std::to_string(i) : "..");
        line1 = label(10, 300);
        line3 = label(10, 340);
        root = button(10, "red", "Root");
        stop = button(150, "blue", "Stop");
        progress = place(new eProgress(&window, 0), 10, 363, 490, 18);
        totalTime = label(10, 380);
        totalValue = label(127, 380);
        elapsedTime = label(10, 400);
        elapsedValue = label(152, 400);
        window.setFocus(list);
        window.show();
    }

private:
    template <class W>
    static W* place(W* w, int x, int y, int width, int height)
    {
        w->move(ePoint(x, y));
        w->resize(eSize(width, height));
        return w;
    }
    eLabel* label(int x, int y) { return place(new eLabel(&window, 0, 0, "eLabel"), x, y, 500, 30); }
    eButton* button(int x, const char* colour, const char* text)
    {
        auto* b = place(new eButton(&window, nullptr, 1, "eButton"), x, 425, 100, 30);
        b->setShortcut(colour);
        b->setShortcutPixmap(colour);
        b->loadDeco();
        b->setText(text);
        return b;
    }
};

#endif
