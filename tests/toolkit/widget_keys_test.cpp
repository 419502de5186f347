#include <gtest/gtest.h>

#include "ebutton.h"
#include "ewindow.h"

namespace {

// Remembers the keys it was sent; handles all but `exit`.
class KeySink : public eLabel {
public:
    using eLabel::eLabel;
    bool keyDown(eRCKey key) override
    {
        keys.push_back(key);
        return key != eRCKey::exit;
    }
    std::vector<eRCKey> keys;
};

struct KeyWindow : ::testing::Test {
    eWindow window{1};
    eButton* red = new eButton(&window);
    eButton* blue = new eButton(&window);
    KeySink* sink = new KeySink(&window);
    int redPresses = 0;
    int bluePresses = 0;

    KeyWindow()
    {
        red->setShortcut("red");
        blue->setShortcut("blue");
        red->selected.connect([this] { ++redPresses; });
        blue->selected.connect([this] { ++bluePresses; });
    }
};

} // namespace

TEST_F(KeyWindow, ColourKeysReachTheirButtonWhateverHasTheFocus)
{
    window.setFocus(sink);
    EXPECT_TRUE(window.dispatchKey(eRCKey::red));
    EXPECT_TRUE(window.dispatchKey(eRCKey::blue));
    EXPECT_TRUE(window.dispatchKey(eRCKey::blue));
    EXPECT_EQ(redPresses, 1);
    EXPECT_EQ(bluePresses, 2);
    EXPECT_TRUE(sink->keys.empty());

    EXPECT_FALSE(window.dispatchKey(eRCKey::green));   // nobody's shortcut
}

TEST_F(KeyWindow, HiddenButtonsIgnoreTheirColour)
{
    red->hide();
    EXPECT_FALSE(window.dispatchKey(eRCKey::red));
    EXPECT_EQ(redPresses, 0);
}

TEST_F(KeyWindow, OtherKeysGoToTheFocusedWidget)
{
    EXPECT_FALSE(window.dispatchKey(eRCKey::ok));   // no focus yet

    window.setFocus(sink);
    EXPECT_TRUE(window.dispatchKey(eRCKey::down));
    EXPECT_FALSE(window.dispatchKey(eRCKey::exit));
    EXPECT_EQ(sink->keys, (std::vector<eRCKey>{eRCKey::down, eRCKey::exit}));

    window.setFocus(blue);
    EXPECT_TRUE(window.dispatchKey(eRCKey::ok));
    EXPECT_EQ(bluePresses, 1);
    EXPECT_FALSE(window.dispatchKey(eRCKey::up));
}

TEST_F(KeyWindow, FocusBelongsToTheWindow)
{
    // Set through any widget of the window, seen from all of them.
    red->setFocus(sink);
    EXPECT_EQ(window.getFocus(), sink);
    EXPECT_EQ(blue->getFocus(), sink);
    EXPECT_TRUE(sink->hasFocus());
    EXPECT_FALSE(red->hasFocus());

    // A widget of another window cannot take this window's focus.
    eWindow other(1);
    eLabel* stranger = new eLabel(&other);
    window.setFocus(stranger);
    EXPECT_EQ(window.getFocus(), sink);

    window.setFocus(nullptr);
    EXPECT_EQ(window.getFocus(), nullptr);
}
