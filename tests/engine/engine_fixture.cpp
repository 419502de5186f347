#include "engine_fixture.h"

#include <lirva_dialog.h>

std::vector<std::string>& display_ops()
{
    static std::vector<std::string> ops;
    return ops;
}

std::function<void(const std::string& op)> display_hook;

// The window's status display, replaced by one that records.
#define RECORDED(op)                                                                                                   \
    void eLirvaDialog::op()                                                                                            \
    {                                                                                                                  \
        display_ops().push_back(#op);                                                                                  \
        if (display_hook)                                                                                              \
            display_hook(#op);                                                                                         \
    }
RECORDED(DisplayTotalTime)
RECORDED(HideTotalTime)
RECORDED(DisplayElapsedTime)
RECORDED(display_elapsed_time)
RECORDED(HideElapsedTime)
RECORDED(ResetProgressBar)

void EngineTest::reset_record()
{
    file_info.decoder = nullptr;
    file_info.bits_per_sample = 16;
    file_info.sample_rate = 44100;
    file_info.channels = 2;
    file_info.filename[0] = '\0';
    file_info.total_samples = file_info.samples_played = 0;
    file_info.length_sec = file_info.position_sec = 0.0f;
    file_info.is_playing = 0;
    file_info.total_time = file_info.elapsed_time = file_info.percent = 0;
    display_ops().clear();
}
