#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ebutton.h"
#include "elistbox.h"
#include "emainloop.h"
#include "ewindow.h"
#include "widget_private.h"

// A modal window: a list with the focus (leaving it rejects the window), a
// red button that closes the window with 7, and a hidden blue one that would
// close it with 9. Keys go to the focused list or their visible button until
// the window closes.
TEST(Mainloop, RunsTheModalWindowWithPostedKeysUntilItCloses)
{
    eWindow window{1};
    auto* list = new eListBox<eListBoxEntryText>(&window);
    list->resize(eSize(100, 100));
    new eListBoxEntryText(list, "one");
    new eListBoxEntryText(list, "two");
    std::vector<std::string> chosen;
    list->selected.connect([&](eListBoxEntryText* e) { e ? chosen.push_back(e->getText()) : window.reject(); });
    for (auto [colour, result] : {std::pair("red", 7), std::pair("blue", 9)}) {
        auto* button = new eButton(&window);
        button->setShortcut(colour);
        button->selected.connect([&window, result = result] { internals(window).close(result); });
        if (result == 9)
            button->hide();
    }
    window.setFocus(list);
    window.show();
    auto exec = [&](std::initializer_list<eRCKey> keys) {
        for (eRCKey key : keys)
            eMainloop::instance().postKey(key);
        return window.exec();
    };
    EXPECT_EQ(exec({eRCKey::down, eRCKey::ok, eRCKey::blue, eRCKey::exit}), -1);
    EXPECT_EQ(exec({eRCKey::up, eRCKey::ok, eRCKey::red}), 7);
    EXPECT_EQ(chosen, (std::vector<std::string>{"two", "one"}));
}
