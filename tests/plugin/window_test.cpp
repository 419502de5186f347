// The player window as built, and the plug-in's entry point.
#include <chrono>

#include "dialog_fixture.h"
#include "emainloop.h"
#include "exec_thread.h"
#include "status_widgets.h"
#include "widget_private.h"

extern "C" int plugin_exec(void*);

namespace {

class WindowTest : public DialogTest { };

eRect rectOf(const eWidget* w)
{
    return eRect(internals(*w).getPosition(), internals(*w).getSize());
}

TEST_F(WindowTest, IsBuiltWithItsTitleLayoutAndEmptyStatus)
{
    EXPECT_EQ(internals(*dialog).getText(), "Lirva 0.0.2");
    EXPECT_EQ(internals(*dialog).getClientRect().width(), 510);
    EXPECT_EQ(internals(*dialog).getClientRect().height(), 460);
    EXPECT_EQ(current(), "/");

    const std::vector<eWidget*>& children = internals(*dialog).getChildren();
    ASSERT_EQ(children.size(), 10u);
    // Creation order: list, two status lines, buttons, bar, time labels.
    const eRect expected[] = {
        {10, 10, 490, 300}, {10, 300, 500, 30}, {10, 340, 500, 30},  {10, 425, 100, 30}, {150, 425, 100, 30},
        {10, 363, 490, 18}, {10, 380, 500, 30}, {127, 380, 500, 30}, {10, 400, 500, 30}, {152, 400, 500, 30},
    };
    for (size_t i = 0; i < children.size(); ++i)
        EXPECT_EQ(rectOf(children[i]), expected[i]) << "child " << i;

    EXPECT_EQ(children[0], dialog->fileList());
    EXPECT_EQ(children[2], lb_line3);
    EXPECT_EQ(children[5], progress);
    EXPECT_EQ(children[6], lb_TotalTime);
    EXPECT_EQ(children[7], lb_TT);
    EXPECT_EQ(children[8], lb_ElapsedTime);
    EXPECT_EQ(children[9], lb_ET);
    for (eLabel* label : {lb_line3, lb_TotalTime, lb_TT, lb_ElapsedTime, lb_ET})
        EXPECT_EQ(internals(*label).getText(), "");
    EXPECT_EQ(internals(*children[1]).getText(), "");

    EXPECT_EQ(internals(*children[3]).getText(), "Root");
    EXPECT_EQ(internals(*children[3]).getShortcut(), "red");
    EXPECT_EQ(internals(*children[3]).getShortcutPixmap(), "red");
    EXPECT_EQ(internals(*children[4]).getText(), "Stop");
    EXPECT_EQ(internals(*children[4]).getShortcut(), "blue");
    EXPECT_EQ(internals(*children[4]).getShortcutPixmap(), "blue");

    EXPECT_TRUE(internals(*dialog->fileList()).hasFocus());
    EXPECT_EQ(execThread.load(), nullptr);
    EXPECT_EQ(internals(*dialog->fileList()).entryAt(0)->getText(), "..");
}

TEST_F(WindowTest, ASecondWindowTakesOverTheStatusWidgets)
{
    execThread = reinterpret_cast<ExecThread*>(0x1);  // left over from an earlier run
    eLirvaDialog second;
    EXPECT_EQ(execThread.load(), nullptr);
    EXPECT_EQ(lb_ET, internals(second).getChildren()[9]);
    EXPECT_EQ(progress, internals(second).getChildren()[5]);
}

TEST(PluginExec, LeavingTheListClosesTheWindowAfterAPauseAndReturnsZero)
{
    for (int run = 0; run < 2; ++run) {  // a second call in the same process works alike
        eMainloop::instance().postKey(eRCKey::down);
        eMainloop::instance().postKey(eRCKey::exit);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(plugin_exec(nullptr), 0);
        const auto took = std::chrono::steady_clock::now() - start;
        EXPECT_GE(std::chrono::duration_cast<std::chrono::milliseconds>(took).count(), 950) << "ms";
    }
}

}  // namespace
