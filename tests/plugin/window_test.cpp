// The player window as the user first sees it.
#include "plugin_fixture.h"
#include "status_widgets.h"

using ::testing::ElementsAre;

namespace {

class WindowTest : public DialogTest { };

TEST_F(WindowTest, OpensAtRootWithItsTitleKeysAndAnIdleStatus)
{
    EXPECT_EQ(internals(*dialog).getText(), "Lirva 0.0.2");
    EXPECT_EQ(current(), "/");
    EXPECT_EQ(entries().front(), "..");
    EXPECT_TRUE(internals(*dialog->fileList()).hasFocus());
    std::vector<std::string> keys;  // caption, key, pixmap
    for (eWidget* child : internals(*dialog).getChildren())
        if (!internals(*child).getShortcut().empty())
            keys.push_back(internals(*child).getText() + " " + internals(*child).getShortcut() + " " +
                           internals(*child).getShortcutPixmap());
    EXPECT_THAT(keys, ElementsAre("Root red red", "Stop blue blue"));
    EXPECT_TRUE(displayIdle());
    EXPECT_EQ(internals(*lb_line3).getText(), "");
}

TEST_F(WindowTest, TheRedKeyReturnsToRoot)
{
    enter(tree.path());
    EXPECT_TRUE(internals(*dialog).dispatchKey(eRCKey::red));
    EXPECT_EQ(current(), "/");
}

TEST_F(WindowTest, ANewWindowTakesOverTheStatusWidgetsAndForgetsAnOldThread)
{
    execThread = reinterpret_cast<ExecThread*>(0x1);  // left over from an earlier run
    eLirvaDialog second;
    EXPECT_EQ(execThread.load(), nullptr);
    for (eWidget* status : std::initializer_list<eWidget*>{lb_TotalTime, lb_TT, lb_ElapsedTime, lb_ET, progress})
        EXPECT_EQ(internals(*status).getTopLevel(), &second);
}

}  // namespace
