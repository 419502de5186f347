#include "recording_display.h"

#include <file_info.h>
#include <lirva_dialog.h>

std::vector<DisplayCall>& display_calls()
{
    static std::vector<DisplayCall> calls;
    return calls;
}

std::vector<std::string> display_ops()
{
    std::vector<std::string> ops;
    for (const DisplayCall& c : display_calls())
        ops.push_back(c.op);
    return ops;
}

namespace {
void record(const char* op)
{
    display_calls().push_back({op, file_info.total_time, file_info.elapsed_time, file_info.percent});
}
}  // namespace

void eLirvaDialog::DisplayTotalTime()
{
    record("DisplayTotalTime");
}
void eLirvaDialog::HideTotalTime()
{
    record("HideTotalTime");
}
void eLirvaDialog::DisplayElapsedTime()
{
    record("DisplayElapsedTime");
}
void eLirvaDialog::display_elapsed_time()
{
    record("display_elapsed_time");
}
void eLirvaDialog::HideElapsedTime()
{
    record("HideElapsedTime");
}
void eLirvaDialog::ResetProgressBar()
{
    record("ResetProgressBar");
}
