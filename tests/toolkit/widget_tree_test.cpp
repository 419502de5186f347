#include <gtest/gtest.h>

#include <sigc++/functors/mem_fun.h>
#include <sigc++/signal.h>

#include <algorithm>
#include <vector>

#include "ebutton.h"
#include "elabel.h"
#include "ewindow.h"

namespace {

// Records its own destruction, and whether its parent was still whole then.
class Probe : public eLabel {
public:
    Probe(eWidget* parent, std::vector<const Probe*>& log) : eLabel(parent), log_(log) {}
    ~Probe() override { log_.push_back(this); }

private:
    std::vector<const Probe*>& log_;
};

class Listener : public eWindow {
public:
    void hear() { ++heard; }
    int heard = 0;
};

} // namespace

TEST(WidgetTree, ChildrenAreKeptInOrderAndDeletedWithTheParent)
{
    std::vector<const Probe*> destroyed;
    auto* window = new eWindow(1);
    auto* first = new Probe(window, destroyed);
    auto* second = new Probe(window, destroyed);
    auto* grandchild = new Probe(second, destroyed);

    ASSERT_EQ(window->getChildren(), (std::vector<eWidget*>{first, second}));
    EXPECT_EQ(grandchild->getParent(), second);
    EXPECT_EQ(grandchild->getTopLevel(), window);

    delete window;
    EXPECT_EQ(destroyed.size(), 3u);
    EXPECT_EQ(std::count(destroyed.begin(), destroyed.end(), grandchild), 1);
}

TEST(WidgetTree, AChildDeletedOnItsOwnLeavesTheTreeAndTheFocus)
{
    std::vector<const Probe*> destroyed;
    eWindow window(1);
    auto* kept = new Probe(&window, destroyed);
    auto* gone = new Probe(&window, destroyed);
    new Probe(gone, destroyed);
    window.setFocus(gone);

    delete gone;
    EXPECT_EQ(destroyed.size(), 2u);
    EXPECT_EQ(window.getChildren(), (std::vector<eWidget*>{kept}));
    EXPECT_EQ(window.getFocus(), nullptr);
}

TEST(WidgetTree, ConnectionsToADestroyedWindowEnd)
{
    sigc::signal<void()> outside;
    auto* listener = new Listener;
    auto* button = new eButton(listener);
    button->selected.connect(sigc::mem_fun(*listener, &Listener::hear));
    outside.connect(sigc::mem_fun(*listener, &Listener::hear));

    button->shortcutAction();
    outside();
    EXPECT_EQ(listener->heard, 2);

    delete listener;
    EXPECT_TRUE(outside.empty());
    outside();   // must not reach the deleted window
}

TEST(WidgetGeometry, WindowPlacedByItsClientArea)
{
    eWindow window(1);
    window.cmove(ePoint(100, 75));
    window.cresize(eSize(510, 460));

    const eRect client = window.getClientRect();
    EXPECT_EQ(client.width(), 510);
    EXPECT_EQ(client.height(), 460);

    const int frameX = eWindow::borderWidth;
    const int frameY = eWindow::borderWidth + eWindow::titleHeight;
    EXPECT_EQ(window.getPosition(), ePoint(100 - frameX, 75 - frameY));
    EXPECT_EQ(window.getSize(), eSize(510 + 2 * eWindow::borderWidth,
                                      460 + 2 * eWindow::borderWidth + eWindow::titleHeight));
    EXPECT_EQ(window.getAbsoluteRect().topLeft(), ePoint(100 - frameX, 75 - frameY));

    // Resizing again keeps the client area where it is.
    window.cresize(eSize(200, 100));
    EXPECT_EQ(window.getClientRect(), eRect(frameX, frameY, 200, 100));
    EXPECT_EQ(window.getPosition(), ePoint(100 - frameX, 75 - frameY));
}

TEST(WidgetGeometry, ChildrenAreRelativeToTheParentsClientArea)
{
    eWindow window(1);
    window.cmove(ePoint(100, 75));
    window.cresize(eSize(510, 460));
    eLabel* box = new eLabel(&window);
    box->move(ePoint(10, 20));
    box->resize(eSize(300, 200));
    eLabel* inner = new eLabel(box);
    inner->cmove(ePoint(5, 6));    // no frame: same as move/resize
    inner->cresize(eSize(50, 40));

    EXPECT_EQ(box->getClientRect(), eRect(0, 0, 300, 200));
    EXPECT_EQ(box->getAbsoluteRect(), eRect(110, 95, 300, 200));
    EXPECT_EQ(inner->getPosition(), ePoint(5, 6));
    EXPECT_EQ(inner->getAbsoluteRect(), eRect(115, 101, 50, 40));
}

TEST(WidgetState, ChildrenStartShownWindowsHidden)
{
    eWindow window(1);
    eLabel* label = new eLabel(&window);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(label->isVisible());
    window.show();
    label->hide();
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(label->isVisible());
}
