// The status display as the engine drives it, on real toolkit widgets. That a
// whole play leaves it idle is checked by the plug-in's play control tests.
#include <gtest/gtest.h>

#include <file_info.h>
#include <lirva_dialog.h>
#include <status_widgets.h>

#include "status_window.h"
#include "widget_private.h"

namespace {

class StatusDisplay : public ::testing::Test {
protected:
    void TearDown() override { file_info.total_time = file_info.elapsed_time = file_info.percent = 0; }

    StatusWindow status_;
};

}  // namespace

TEST_F(StatusDisplay, TimeTexts)
{
    const std::pair<int, const char*> table[] = {{0, "00:00"},    {59, "00:59"},   {60, "01:00"},
                                                 {3599, "59:59"}, {3600, "60:00"}, {6000, "100:00"}};
    for (const auto& [seconds, text] : table) {
        file_info.total_time = seconds;
        eLirvaDialog::DisplayTotalTime();
        EXPECT_EQ(internals(*lb_TotalTime).getText(), "Total Time : ");
        EXPECT_EQ(internals(*lb_TT).getText(), text);
    }
}

TEST_F(StatusDisplay, ElapsedStartsAtZeroTheTickShowsBarAndTimeHidingEmpties)
{
    file_info.elapsed_time = 75;
    file_info.percent = 41;
    eLirvaDialog::DisplayElapsedTime();
    EXPECT_EQ(internals(*lb_ElapsedTime).getText(), "Elapsed Time : ");
    EXPECT_EQ(internals(*lb_ET).getText(), "00:00");
    EXPECT_EQ(internals(*progress).getPerc(), 0);

    eLirvaDialog::display_elapsed_time();
    EXPECT_EQ(internals(*progress).getPerc(), 41);
    EXPECT_EQ(internals(*lb_ET).getText(), "01:15");
    EXPECT_EQ(internals(*lb_ElapsedTime).getText(), "Elapsed Time : ");

    eLirvaDialog::DisplayTotalTime();
    eLirvaDialog::HideElapsedTime();
    eLirvaDialog::ResetProgressBar();
    eLirvaDialog::HideTotalTime();
    for (eLabel* label : {lb_TotalTime, lb_TT, lb_ElapsedTime, lb_ET})
        EXPECT_EQ(internals(*label).getText(), "");  // empty, not blanks
    EXPECT_EQ(internals(*progress).getPerc(), 0);
}
