// The time captions and the progress bar as the play thread drives them.
#include "file_info.h"
#include "plugin_fixture.h"
#include "status_widgets.h"

namespace {

class StatusDisplayTest : public DialogTest {
protected:
    void TearDown() override { file_info.total_time = file_info.elapsed_time = file_info.percent = 0; }
    static std::string text(eLabel* label) { return internals(*label).getText(); }
};

TEST_F(StatusDisplayTest, TimesShowAsMinutesAndSecondsPastTheHour)
{
    const std::pair<int, const char*> times[] = {{0, "00:00"},    {59, "00:59"},   {60, "01:00"},
                                                 {3599, "59:59"}, {3600, "60:00"}, {6000, "100:00"}};
    for (const auto& [seconds, shown] : times) {
        file_info.total_time = file_info.elapsed_time = seconds;
        eLirvaDialog::DisplayTotalTime();
        eLirvaDialog::display_elapsed_time();
        EXPECT_EQ(text(lb_TotalTime) + text(lb_TT), std::string("Total Time : ") + shown);
        EXPECT_EQ(text(lb_ET), shown);
    }
}

TEST_F(StatusDisplayTest, ElapsedStartsAtZeroTicksWithTheBarAndHidesToEmpty)
{
    file_info.elapsed_time = 75;
    file_info.percent = 41;
    eLirvaDialog::DisplayElapsedTime();
    EXPECT_EQ(text(lb_ElapsedTime) + text(lb_ET), "Elapsed Time : 00:00");
    EXPECT_EQ(internals(*progress).getPerc(), 0);
    eLirvaDialog::display_elapsed_time();
    EXPECT_EQ(text(lb_ElapsedTime) + text(lb_ET), "Elapsed Time : 01:15");
    EXPECT_EQ(internals(*progress).getPerc(), 41);

    eLirvaDialog::DisplayTotalTime();
    eLirvaDialog::HideElapsedTime();
    eLirvaDialog::ResetProgressBar();
    eLirvaDialog::HideTotalTime();
    EXPECT_TRUE(displayIdle()) << "the captions empty, not blanks, and the bar at 0";
}

}  // namespace
