#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ebutton.h"
#include "elistbox.h"
#include "emainloop.h"
#include "ewidget_event.h"
#include "ewindow.h"
#include "widget_private.h"

// A list of twelve that shows five rows: the cursor and the top row after
// each key, then what OK and exit select.
TEST(ListBox, KeysMoveTheCursorOnThePageAndOkOrExitSelect)
{
    eWindow window{1};
    auto* list = new eListBox<eListBoxEntryText>(&window, nullptr, 1);
    list->resize(eSize(200, 5 * eListBoxEntryText::getEntryHeight()));
    std::vector<eListBoxEntryText*> selected;
    list->selected.connect([&](eListBoxEntryText* e) { selected.push_back(e); });
    for (int i = 0; i < 12; ++i)
        new eListBoxEntryText(list, eString(std::to_string(i)));
    const struct {
        eRCKey key;
        int cursor, top;
    } steps[] = {{eRCKey::up, 0, 0},    {eRCKey::down, 1, 0}, {eRCKey::down, 2, 0},   {eRCKey::down, 3, 0},
                 {eRCKey::down, 4, 0},  {eRCKey::down, 5, 1}, {eRCKey::right, 10, 6}, {eRCKey::pageDown, 11, 7},
                 {eRCKey::down, 11, 7}, {eRCKey::left, 6, 6}, {eRCKey::pageUp, 1, 1}, {eRCKey::pageUp, 0, 0},
                 {eRCKey::down, 1, 0},  {eRCKey::ok, 1, 0},   {eRCKey::exit, 1, 0}};
    for (size_t i = 0; i < std::size(steps); ++i) {
        EXPECT_TRUE(internals(*list).keyDown(steps[i].key));
        EXPECT_EQ(internals(*list).getCurrentIndex(), steps[i].cursor) << "step " << i;
        EXPECT_EQ(internals(*list).getTop(), steps[i].top) << "step " << i;
    }
    EXPECT_EQ(selected, (std::vector<eListBoxEntryText*>{internals(*list).entryAt(1), nullptr}));
}

// A modal window: a list with the focus (leaving it rejects the window) and
// a red button that closes the window with 7. Keys go to the focused list or
// their colour's button until the window closes.
TEST(Mainloop, RunsTheModalWindowWithPostedKeysUntilItCloses)
{
    eWindow window{1};
    auto* list = new eListBox<eListBoxEntryText>(&window);
    list->resize(eSize(100, 100));
    new eListBoxEntryText(list, "one");
    new eListBoxEntryText(list, "two");
    std::vector<std::string> chosen;
    list->selected.connect([&](eListBoxEntryText* e) { e ? chosen.push_back(e->getText()) : window.reject(); });
    auto* red = new eButton(&window);
    red->setShortcut("red");
    red->selected.connect([&] { internals(window).close(7); });
    window.setFocus(list);
    window.show();
    auto exec = [&](std::initializer_list<eRCKey> keys) {
        for (eRCKey key : keys)
            eMainloop::instance().postKey(key);
        return window.exec();
    };
    EXPECT_EQ(exec({eRCKey::down, eRCKey::ok, eRCKey::exit}), -1);
    EXPECT_EQ(exec({eRCKey::up, eRCKey::ok, eRCKey::red}), 7);
    EXPECT_EQ(chosen, (std::vector<std::string>{"two", "one"}));
}

namespace {
// A window and a list that take over virtual operations of their own.
struct FilteringWindow : eWindow {
    std::vector<eRCKey> seen;
    int shows = 0;
    // Sees every key first and keeps "exit" from the list.
    int eventFilter(const eWidgetEvent& event) override
    {
        seen.push_back(event.key);
        return event.key == eRCKey::exit;
    }
    void willShow() override { ++shows; }
    // A plain 10-pixel border instead of the title bar.
    void recalcClientRect() override
    {
        const eRect outer = internals(*this).getAbsoluteRect();
        clientrect = eRect(10, 10, outer.width() - 20, outer.height() - 20);
    }
};

struct CountingList : eListBox<eListBoxEntryText> {
    using eListBox::eListBox;
    int focusGained = 0, focusLost = 0, keys = 0;
    void gotFocus() override { ++focusGained; }
    void lostFocus() override { ++focusLost; }
    int keyDown(int key) override
    {
        ++keys;
        return eListBox::keyDown(key);
    }
};
}  // namespace

// The host reaches widgets through their virtual operations: a derived
// window sees each key before the focused widget does and may keep it, its
// own client area serves cresize, its willShow runs on show; the list hears
// of its focus and gets its keys through keyDown, colour keys through the
// button's event handler.
TEST(Mainloop, ReachesWidgetsThroughTheirVirtualOperations)
{
    FilteringWindow window;
    window.cresize(eSize(100, 50));
    EXPECT_EQ(internals(window).getAbsoluteRect().size(), eSize(120, 70));
    EXPECT_EQ(internals(window).getClientRect(), eRect(10, 10, 100, 50));

    auto* list = new CountingList(&window);
    list->resize(eSize(100, 100));
    new eListBoxEntryText(list, "one");
    new eListBoxEntryText(list, "two");
    int leaves = 0;
    list->selected.connect([&](eListBoxEntryText* e) { leaves += e == nullptr; });
    auto* red = new eButton(&window);
    red->setShortcut("red");
    red->selected.connect([&] { window.reject(); });
    auto* other = new eButton(&window);
    window.setFocus(other);
    window.setFocus(list);
    EXPECT_EQ(list->focusGained, 1);
    window.show();
    EXPECT_EQ(window.shows, 1);

    for (eRCKey key : {eRCKey::down, eRCKey::exit, eRCKey::red})
        eMainloop::instance().postKey(key);
    EXPECT_EQ(window.exec(), -1);
    EXPECT_EQ(window.seen, (std::vector<eRCKey>{eRCKey::down, eRCKey::exit, eRCKey::red}));
    EXPECT_EQ(list->keys, 1) << "exit stayed with the window";
    EXPECT_EQ(leaves, 0);
    EXPECT_EQ(internals(*list).getCurrentIndex(), 1);
    window.setFocus(nullptr);
    EXPECT_EQ(list->focusLost, 1);
}
