// The status display as the engine drives it, on real toolkit widgets.
#include <gtest/gtest.h>

#include <audio_device.h>
#include <decoder_session.h>
#include <file_info.h>
#include <lirva_dialog.h>
#include <status_widgets.h>

#include "engine_test_support.h"
#include "status_window.h"

namespace {

class StatusDisplay : public ::testing::Test {
protected:
    void TearDown() override { file_info.total_time = file_info.elapsed_time = file_info.percent = 0; }

    StatusWindow status_;
};

}  // namespace

TEST_F(StatusDisplay, TimeTexts)
{
    const std::pair<int, const char*> table[] = {
        {0, "00:00"}, {59, "00:59"}, {60, "01:00"}, {3599, "59:59"}, {3600, "60:00"}, {6000, "100:00"}};
    for (const auto& [seconds, text] : table) {
        file_info.total_time = seconds;
        eLirvaDialog::DisplayTotalTime();
        EXPECT_EQ(lb_TotalTime->getText(), "Total Time : ");
        EXPECT_EQ(lb_TT->getText(), text);
    }
}

TEST_F(StatusDisplay, ElapsedCaptionStartsAtZeroAndTheTickShowsBarAndTime)
{
    file_info.elapsed_time = 75;
    file_info.percent = 41;
    eLirvaDialog::DisplayElapsedTime();
    EXPECT_EQ(lb_ElapsedTime->getText(), "Elapsed Time : ");
    EXPECT_EQ(lb_ET->getText(), "00:00");
    EXPECT_EQ(progress->getPerc(), 0);

    eLirvaDialog::display_elapsed_time();
    EXPECT_EQ(progress->getPerc(), 41);
    EXPECT_EQ(lb_ET->getText(), "01:15");
    EXPECT_EQ(lb_ElapsedTime->getText(), "Elapsed Time : ");
}

// A whole play through the engine leaves the display idle: labels empty
// (not blanks) and the bar at 0.
TEST_F(StatusDisplay, IdleAgainAfterAPlay)
{
    const std::string corpus = enginetest::corpus_dir();
    if (corpus.empty())
        GTEST_SKIP() << "the FLAC corpus is not there";
    enginetest::TempDir dir;
    const std::string node = dir.file("dsp");
    enginetest::write_file(node, "");
    audio_device_path = node.c_str();
    audio_device_open();
    play_file((corpus + "/subset-60-mono-audio.flac").c_str());
    audio_device_path = "/dev/dsp";

    for (eLabel* label : {lb_TotalTime, lb_TT, lb_ElapsedTime, lb_ET})
        EXPECT_EQ(label->getText(), "");
    EXPECT_EQ(progress->getPerc(), 0);
    EXPECT_EQ(enginetest::read_file(node).size(), 227247u * 2);
}
