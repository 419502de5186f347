// Building the player window: widgets, layout, texts and signal wiring.
#include "lirva_dialog.h"

#include <sigc++/sigc++.h>

#include "exec_thread.h"
#include "status_widgets.h"

eLirvaDialog::eLirvaDialog() : eWindow(1)
{
    cmove(ePoint(100, 75));
    cresize(eSize(510, 460));
    setText("Lirva 0.0.2");

    // Read anew at each use, as the client area is the host's to keep.
    auto w = [this] { return clientrect.width(); };
    auto h = [this] { return clientrect.height(); };

    list = new eListBox<eListBoxEntryText>(this, nullptr, 1);
    list->move(ePoint(10, 10));
    list->resize(eSize(w() - 20, h() - 160));
    list->loadDeco();

    lb_line1 = new eLabel(this, 0, 0, "eLabel");
    lb_line1->move(ePoint(10, h() - 160));
    lb_line1->resize(eSize(w() - 10, 30));
    lb_title = lb_line1;

    lb_line3 = new eLabel(this, 0, 0, "eLabel");
    lb_line3->move(ePoint(10, h() - 120));
    lb_line3->resize(eSize(w() - 10, 30));

    bt_root = new eButton(this, nullptr, 1, "eButton");
    bt_root->move(ePoint(10, h() - 35));
    bt_root->resize(eSize(100, 30));
    bt_root->setShortcut("red");
    bt_root->setShortcutPixmap("red");
    bt_root->loadDeco();
    bt_root->setText("Root");
    bt_root->selected.connect(SigC::slot(*this, &eLirvaDialog::displayroot));

    bt_stop = new eButton(this, nullptr, 1, "eButton");
    bt_stop->move(ePoint(150, h() - 35));
    bt_stop->resize(eSize(100, 30));
    bt_stop->setShortcut("blue");
    bt_stop->setShortcutPixmap("blue");
    bt_stop->loadDeco();
    bt_stop->setText("Stop");
    bt_stop->selected.connect(SigC::slot(*this, &eLirvaDialog::StopPlayer));

    // The run's keys, on the free colour keys, in the row's free width.
    bt_next = colourButton(270, 100, "green", "Next");
    bt_next->selected.connect(SigC::slot(*this, &eLirvaDialog::NextTrack));
    bt_pause = colourButton(380, 120, "yellow", "Pause");
    bt_pause->selected.connect(SigC::slot(*this, &eLirvaDialog::PausePlayer));

    // The bar's place is fixed, not derived from the client size.
    progress = new eProgress(this, 0);
    progress->move(ePoint(10, 363));
    progress->resize(eSize(490, 18));

    // Caption and value share a row: caption at x 10, value beside it.
    auto timeLabel = [&](int x, int y) {
        eLabel* label = new eLabel(this, 0, 0, "eLabel");
        label->move(ePoint(x, y));
        label->resize(eSize(w() - 10, 30));
        label->setText("");
        return label;
    };
    lb_TotalTime = timeLabel(10, h() - 80);
    lb_TT = timeLabel(127, h() - 80);
    lb_ElapsedTime = timeLabel(10, h() - 60);
    lb_ET = timeLabel(152, h() - 60);

    currentDir = "/";
    dispfiles(eString(currentDir));

    // Connected after the first listing: filling the list signals nobody.
    list->selected.connect(SigC::slot(*this, &eLirvaDialog::selectedItem));
    list->selchanged.connect(SigC::slot(*this, &eLirvaDialog::selectionChanged));

    setFocus(list);
    execThread = nullptr;
}

eButton* eLirvaDialog::colourButton(int x, int width, const char* colour, const char* text)
{
    eButton* button = new eButton(this, nullptr, 1, "eButton");
    button->move(ePoint(x, clientrect.height() - 35));
    button->resize(eSize(width, 30));
    button->setShortcut(colour);
    button->setShortcutPixmap(colour);
    button->loadDeco();
    button->setText(text);
    return button;
}

// The widgets are children of the window and go with it; the connections
// bound to this window end with it.
eLirvaDialog::~eLirvaDialog() = default;
