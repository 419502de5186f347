// The time labels and the progress bar of the current play.
#include "file_info.h"
#include "now_playing.h"
#include "lirva_dialog.h"
#include "status_widgets.h"

eLabel* lb_TotalTime;
eLabel* lb_TT;
eLabel* lb_ElapsedTime;
eLabel* lb_ET;
eLabel* lb_title;
eLabel* lb_line3;
eProgress* progress;

namespace {

// mm:ss with at least two digits each; minutes go past 59 (one hour is 60:00).
eString timeText(int seconds)
{
    char format[] = "%2.2d:%2.2d";  // the toolkit takes a modifiable format
    return eString().sprintf(format, seconds / 60, seconds % 60);
}

}  // namespace

void eLirvaDialog::DisplayTotalTime()
{
    lb_TotalTime->setText("Total Time : ");
    lb_TT->setText(timeText(file_info.total_time));
}

void eLirvaDialog::HideTotalTime()
{
    lb_TotalTime->setText("");
    lb_TT->setText("");
}

void eLirvaDialog::DisplayElapsedTime()
{
    lb_ElapsedTime->setText("Elapsed Time : ");
    lb_ET->setText("00:00");
}

void eLirvaDialog::display_elapsed_time()
{
    progress->setPerc(file_info.percent);
    lb_ET->setText(timeText(file_info.elapsed_time));
}

void eLirvaDialog::HideElapsedTime()
{
    lb_ElapsedTime->setText("");
    lb_ET->setText("");
}

void eLirvaDialog::ResetProgressBar()
{
    progress->setPerc(0);
}

void eLirvaDialog::DisplayTrack()
{
    lb_title->setText(now_playing.line1);
    lb_line3->setText(eString(now_playing.line3) + (now_playing.paused ? "  (paused)" : ""));
}

void eLirvaDialog::HideTrack()
{
    lb_title->setText("");
    lb_line3->setText("");
}
