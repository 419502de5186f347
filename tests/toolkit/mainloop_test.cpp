#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <thread>

#include "ebutton.h"
#include "elistbox.h"
#include "emainloop.h"
#include "eprogress.h"
#include "ewindow.h"
#include "tree_lock.h"

namespace {

using namespace std::chrono_literals;

bool heldByAnotherThread(std::recursive_mutex& m)
{
    bool held = false;
    std::thread probe([&] {
        held = !m.try_lock();
        if (!held)
            m.unlock();
    });
    probe.join();
    return held;
}

// Sends exit once it has painted `awaited` in the window's label, or after a
// deadline; checks that every paint happens with the tree locked.
class WatchingFrontend : public eFrontend {
public:
    WatchingFrontend(const eLabel& label, eString awaited) : label_(label), awaited_(std::move(awaited)) {}

    bool nextKey(eRCKey& key, int timeoutMs) override
    {
        if (sawAwaited || std::chrono::steady_clock::now() > deadline_) {
            key = eRCKey::exit;
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min(timeoutMs, 5)));
        return false;
    }

    void paint(const eWidget&) override
    {
        ++paints;
        lockedEveryTime = lockedEveryTime && heldByAnotherThread(widgetTreeLock());
        if (label_.getText() == awaited_)
            sawAwaited = true;
    }

    int paints = 0;
    bool lockedEveryTime = true;
    bool sawAwaited = false;

private:
    const eLabel& label_;
    eString awaited_;
    std::chrono::steady_clock::time_point deadline_ = std::chrono::steady_clock::now() + 2s;
};

struct Dialog : ::testing::Test {
    eWindow window{1};
    eListBox<eListBoxEntryText>* list = new eListBox<eListBoxEntryText>(&window);
    eButton* red = new eButton(&window);
    eLabel* label = new eLabel(&window);

    Dialog()
    {
        list->resize(eSize(100, 100));
        new eListBoxEntryText(list, "one");
        new eListBoxEntryText(list, "two");
        red->setShortcut("red");
        window.setFocus(list);
        window.show();
    }
};

} // namespace

TEST_F(Dialog, ExecRunsPostedKeysUntilTheListIsLeft)
{
    std::vector<eString> chosen;
    list->selected.connect([&](eListBoxEntryText* e) {
        if (e)
            chosen.push_back(e->getText());
        else
            window.reject();
    });

    eMainloop& loop = eMainloop::instance();
    loop.postKey(eRCKey::down);
    loop.postKey(eRCKey::ok);
    loop.postKey(eRCKey::exit);
    EXPECT_EQ(window.exec(), -1);
    EXPECT_EQ(chosen, (std::vector<eString>{"two"}));

    // Closing from a button's slot ends the next loop with that result.
    red->selected.connect([&] { window.close(7); });
    loop.postKey(eRCKey::red);
    EXPECT_EQ(window.exec(), 7);
}

TEST_F(Dialog, KeysPostedFromAnotherThreadWakeTheLoop)
{
    list->selected.connect([&](eListBoxEntryText*) { window.reject(); });
    std::thread poster([] {
        std::this_thread::sleep_for(20ms);
        eMainloop::instance().postKey(eRCKey::exit);
    });
    EXPECT_NE(window.exec(), 0);
    poster.join();
}

TEST_F(Dialog, FrontendRepaintsLockedAfterAChangeFromAnotherThread)
{
    list->selected.connect([&](eListBoxEntryText*) { window.reject(); });
    WatchingFrontend screen(*label, "playing");
    eMainloop::instance().setFrontend(&screen);

    std::thread player([this] {
        std::this_thread::sleep_for(20ms);
        label->setText("playing");
    });
    const int result = window.exec();
    player.join();
    eMainloop::instance().setFrontend(nullptr);

    EXPECT_EQ(result, -1);
    EXPECT_TRUE(screen.sawAwaited);
    EXPECT_GE(screen.paints, 2);
    EXPECT_TRUE(screen.lockedEveryTime);
}

TEST(WidgetThreads, SetTextFromAnotherThreadNeverTearsAPaint)
{
    eWindow window(1);
    eLabel* label = new eLabel(&window);
    eProgress* bar = new eProgress(&window);
    constexpr int rounds = 2000;

    std::thread writer([&] {
        for (int i = 0; i < rounds; ++i) {
            // One change of two widgets, made whole under the lock.
            std::lock_guard<std::recursive_mutex> lock(widgetTreeLock());
            label->setText(eString().sprintf("%d", i % 101));
            bar->setPerc(i % 101);
        }
    });
    int torn = 0;
    for (int i = 0; i < rounds; ++i) {
        std::lock_guard<std::recursive_mutex> lock(widgetTreeLock());
        const eString text = label->getText();
        const int perc = bar->getPerc();
        const bool untouched = text.empty() && perc == 0;
        if (!untouched && text != eString().sprintf("%d", perc))
            ++torn;
    }
    writer.join();
    EXPECT_EQ(torn, 0);
    EXPECT_EQ(label->getText(), eString().sprintf("%d", (rounds - 1) % 101));
}
