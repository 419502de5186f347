// The player window as the user sees it: title, keys, time captions and bar.
#include "plugin_fixture.h"

namespace {

class WindowTest : public DialogTest {
protected:
    static std::string text(const eWidget* widget) { return internals(*widget).getText(); }
};

// A window opened after another takes over the status widgets, and forgets
// a play thread left over from an earlier run.
TEST_F(WindowTest, EachNewWindowOpensAtRootWithItsTitleKeysAndItsOwnIdleStatus)
{
    execThread = reinterpret_cast<ExecThread*>(0x1);
    eLirvaDialog second;
    EXPECT_EQ(execThread.load(), nullptr);
    EXPECT_EQ(text(&second), "Lirva 0.0.2");
    EXPECT_EQ(second.currentDirectory(), "/");
    std::vector<std::string> keys;  // caption, key, pixmap, and place in the client area
    const eRect client = internals(second).getAbsoluteRect();
    const int x0 = client.left() + internals(second).getClientRect().left();
    int rowEnd = 0;  // the buttons' row: in order, apart, within the client width
    for (eWidget* child : internals(second).getChildren())
        if (!internals(*child).getShortcut().empty()) {
            const eRect r = internals(*child).getAbsoluteRect();
            keys.push_back(text(child) + " " + internals(*child).getShortcut() + " " +
                           internals(*child).getShortcutPixmap() + " x " + std::to_string(r.left() - x0));
            EXPECT_LE(rowEnd, r.left() - x0) << text(child) << " overlaps the button before it";
            rowEnd = r.right() - x0;
        }
    EXPECT_THAT(keys, testing::ElementsAre("Root red red x 10", "Stop blue blue x 150", "Next green green x 270",
                                           "Pause yellow yellow x 380"));
    EXPECT_LE(rowEnd, 510);
    for (eWidget* status :
         std::initializer_list<eWidget*>{lb_TotalTime, lb_TT, lb_ElapsedTime, lb_ET, lb_title, lb_line3, progress})
        EXPECT_EQ(internals(*status).getTopLevel(), &second);
    EXPECT_TRUE(displayIdle());

    enter(tree.path());
    EXPECT_TRUE(internals(*dialog).dispatchKey(eRCKey::red));
    EXPECT_EQ(current(), "/") << "the red key returns to the root";
}

TEST_F(WindowTest, TimesShowAsMinutesAndSecondsAndTheBarTheShareBeingPlayed)
{
    const std::pair<int, const char*> times[] = {{0, "00:00"},    {59, "00:59"},   {60, "01:00"},
                                                 {3599, "59:59"}, {3600, "60:00"}, {6000, "100:00"}};
    for (const auto& [seconds, shown] : times) {
        file_info.total_time = file_info.elapsed_time = seconds;
        file_info.percent = seconds / 100;
        eLirvaDialog::DisplayTotalTime();
        eLirvaDialog::DisplayElapsedTime();
        EXPECT_EQ(text(lb_ElapsedTime) + text(lb_ET) + std::to_string(internals(*progress).getPerc()),
                  "Elapsed Time : 00:000")
            << "the elapsed time starts at zero";
        eLirvaDialog::display_elapsed_time();
        EXPECT_EQ(text(lb_TotalTime) + text(lb_TT), std::string("Total Time : ") + shown);
        EXPECT_EQ(text(lb_ET), shown);
        EXPECT_EQ(internals(*progress).getPerc(), seconds / 100);
        eLirvaDialog::HideElapsedTime();
        eLirvaDialog::ResetProgressBar();
        eLirvaDialog::HideTotalTime();
        EXPECT_TRUE(displayIdle()) << "the captions empty, not blanks, and the bar at 0";
    }
}

}  // namespace
