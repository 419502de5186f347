#include <gtest/gtest.h>

#include <vector>

#include "ebutton.h"
#include "ewindow.h"
#include "widget_private.h"

namespace {

class Probe : public eLabel {
public:
    Probe(eWidget* parent, int& deaths) : eLabel(parent), deaths_(deaths) { }
    ~Probe() override { ++deaths_; }

private:
    int& deaths_;
};

}  // namespace

TEST(WidgetTree, ParentOwnsItsChildren)
{
    int deaths = 0;
    auto* window = new eWindow(1);
    auto* first = new Probe(window, deaths);
    auto* second = new Probe(window, deaths);
    new Probe(second, deaths);
    new Probe(second, deaths);
    ASSERT_EQ(internals(*window).getChildren(), (std::vector<eWidget*>{first, second}));

    // Deleted on its own, a child leaves its parent and the window's focus.
    window->setFocus(second);
    delete second;
    EXPECT_EQ(deaths, 3);
    EXPECT_EQ(internals(*window).getChildren(), (std::vector<eWidget*>{first}));
    EXPECT_EQ(internals(*window).getFocus(), nullptr);

    delete window;
    EXPECT_EQ(deaths, 4);
}

TEST(WidgetTree, WindowIsPlacedByItsClientArea)
{
    const int frameX = windowBorderWidth;
    const int frameY = windowBorderWidth + windowTitleHeight;
    eWindow window(1);
    window.cmove(ePoint(100, 75));
    window.cresize(eSize(510, 460));
    EXPECT_EQ(internals(window).getClientRect(), eRect(frameX, frameY, 510, 460));
    EXPECT_EQ(internals(window).getAbsoluteRect().topLeft(), ePoint(100 - frameX, 75 - frameY));

    // Children sit in the client area; without a frame cmove is move.
    eLabel* box = new eLabel(&window);
    box->move(ePoint(10, 20));
    box->resize(eSize(300, 200));
    eLabel* inner = new eLabel(box);
    inner->cmove(ePoint(5, 6));
    inner->cresize(eSize(50, 40));
    EXPECT_EQ(internals(*box).getAbsoluteRect(), eRect(110, 95, 300, 200));
    EXPECT_EQ(internals(*inner).getAbsoluteRect(), eRect(115, 101, 50, 40));

    window.cresize(eSize(200, 100));  // the client area stays put
    EXPECT_EQ(internals(window).getClientRect(), eRect(frameX, frameY, 200, 100));
    EXPECT_EQ(internals(*box).getAbsoluteRect(), eRect(110, 95, 300, 200));
}

namespace {

class KeySink : public eLabel {
public:
    explicit KeySink(eWidget* parent) : eLabel(parent)
    {
        internals(*this).keyDown = [this](eRCKey key) {
            keys.push_back(key);
            return key != eRCKey::exit;
        };
    }
    std::vector<eRCKey> keys;
};

struct KeyWindow : ::testing::Test {
    eWindow window{1};
    eButton* red = new eButton(&window);
    eButton* blue = new eButton(&window);
    KeySink* sink = new KeySink(&window);
    int redPresses = 0, bluePresses = 0;

    KeyWindow()
    {
        red->setShortcut("red");
        blue->setShortcut("blue");
        red->selected.connect([this] { ++redPresses; });
        blue->selected.connect([this] { ++bluePresses; });
        blue->setFocus(sink);  // through any widget, for the whole window
    }
};

}  // namespace

TEST_F(KeyWindow, ColourKeysGoToTheirVisibleButtonOtherKeysToTheFocus)
{
    EXPECT_TRUE(internals(window).dispatchKey(eRCKey::red));
    EXPECT_TRUE(internals(window).dispatchKey(eRCKey::blue));
    EXPECT_FALSE(internals(window).dispatchKey(eRCKey::green));
    red->hide();
    EXPECT_FALSE(internals(window).dispatchKey(eRCKey::red));
    EXPECT_EQ(redPresses, 1);
    EXPECT_EQ(bluePresses, 1);

    EXPECT_TRUE(internals(*sink).hasFocus());
    EXPECT_TRUE(internals(window).dispatchKey(eRCKey::down));
    EXPECT_FALSE(internals(window).dispatchKey(eRCKey::exit));
    EXPECT_EQ(sink->keys, (std::vector<eRCKey>{eRCKey::down, eRCKey::exit}));

    window.setFocus(blue);
    EXPECT_TRUE(internals(window).dispatchKey(eRCKey::ok));
    EXPECT_EQ(bluePresses, 2);

    eWindow other(1);
    window.setFocus(new eLabel(&other));  // not of this window: ignored
    EXPECT_EQ(internals(window).getFocus(), blue);
    window.setFocus(nullptr);
    EXPECT_FALSE(internals(window).dispatchKey(eRCKey::ok));
}
