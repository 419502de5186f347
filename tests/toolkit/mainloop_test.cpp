#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "ebutton.h"
#include "elistbox.h"
#include "emainloop.h"
#include "ewindow.h"
#include "tree_lock.h"
#include "wait.h"
#include "widget_private.h"

namespace {

using namespace std::chrono_literals;

// Sends exit once a paint has shown `awaited` in the label (or after the
// bound that only a hang reaches),
// and notes whether every paint held the tree lock.
class WatchingFrontend : public eFrontend {
public:
    WatchingFrontend(const eLabel& label, eString awaited) : label_(label), awaited_(std::move(awaited)) { }

    bool nextKey(eRCKey& key, int) override
    {
        key = eRCKey::exit;
        if (sawAwaited || std::chrono::steady_clock::now() > deadline_)
            return true;
        std::this_thread::sleep_for(2ms);
        return false;
    }
    void paint(const eWidget&) override
    {
        ++paints;
        std::thread probe([this] {
            if (widgetTreeLock().try_lock()) {
                widgetTreeLock().unlock();
                unlockedPaint = true;
            }
        });
        probe.join();
        sawAwaited = sawAwaited || internals(label_).getText() == awaited_;
    }

    std::atomic<int> paints{0};
    bool unlockedPaint = false, sawAwaited = false;

private:
    const eLabel& label_;
    eString awaited_;
    std::chrono::steady_clock::time_point deadline_ = std::chrono::steady_clock::now() + testwait::hang_bound;
};

struct Dialog : ::testing::Test {
    eWindow window{1};
    eListBox<eListBoxEntryText>* list = new eListBox<eListBoxEntryText>(&window);
    eLabel* label = new eLabel(&window);
    std::vector<eString> chosen;

    Dialog()
    {
        list->resize(eSize(100, 100));
        new eListBoxEntryText(list, "one");
        new eListBoxEntryText(list, "two");
        list->selected.connect([this](eListBoxEntryText* e) {
            if (e)
                chosen.push_back(e->getText());
            else
                window.reject();  // leaving the list ends the loop
        });
        window.setFocus(list);
        window.show();
    }
};

}  // namespace

TEST_F(Dialog, ExecRunsPostedKeysUntilRejected)
{
    eMainloop& loop = eMainloop::instance();
    loop.postKey(eRCKey::down);
    loop.postKey(eRCKey::ok);
    loop.postKey(eRCKey::exit);
    EXPECT_EQ(window.exec(), -1);
    EXPECT_EQ(chosen, (std::vector<eString>{"two"}));

    eButton* red = new eButton(&window);
    red->setShortcut("red");
    red->selected.connect([this] { internals(window).close(7); });
    std::thread poster([] {
        std::this_thread::sleep_for(10ms);
        eMainloop::instance().postKey(eRCKey::red);
    });
    EXPECT_EQ(window.exec(), 7);
    poster.join();
}

TEST_F(Dialog, ChangeFromAnotherThreadIsRepaintedUnderTheLock)
{
    WatchingFrontend screen(*label, "playing");
    eMainloop::instance().setFrontend(&screen);
    std::thread player([&] {
        // After the first paint, so that only a repaint can show the change.
        EXPECT_TRUE(testwait::until([&] { return screen.paints > 0; })) << "never painted (a hang)";
        label->setText("playing");
    });
    const int result = window.exec();
    player.join();
    eMainloop::instance().setFrontend(nullptr);

    EXPECT_EQ(result, -1);
    EXPECT_TRUE(screen.sawAwaited);
    EXPECT_GE(screen.paints.load(), 2);
    EXPECT_FALSE(screen.unlockedPaint);
}
