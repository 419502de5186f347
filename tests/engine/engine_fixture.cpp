#include "engine_fixture.h"

#include <lirva_dialog.h>

std::vector<DisplayCall>& display_calls()
{
    static std::vector<DisplayCall> calls;
    return calls;
}

std::function<void(const std::string& op)> display_hook;

std::vector<std::string> display_ops()
{
    std::vector<std::string> ops;
    for (const DisplayCall& c : display_calls())
        ops.push_back(c.op);
    return ops;
}

// The window's status display, replaced by one that records.
#define RECORDED(op)                                                                                                   \
    void eLirvaDialog::op()                                                                                            \
    {                                                                                                                  \
        display_calls().push_back({#op, file_info.total_time, file_info.elapsed_time, file_info.percent});             \
        if (display_hook)                                                                                              \
            display_hook(#op);                                                                                         \
    }
RECORDED(DisplayTotalTime)
RECORDED(HideTotalTime)
RECORDED(DisplayElapsedTime)
RECORDED(display_elapsed_time)
RECORDED(HideElapsedTime)
RECORDED(ResetProgressBar)

void EngineTest::SetUp()
{
    audio_device_path = node_.c_str();
    reset_record();
}

void EngineTest::TearDown()
{
    audio_device_close();
    audio_device_path = "/dev/dsp";
}

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
    display_calls().clear();
}

TestFrame::TestFrame(unsigned channels, unsigned blocksize, unsigned rate, unsigned bits)
    : planes(channels, std::vector<FLAC__int32>(blocksize))
{
    frame.header.blocksize = blocksize;
    frame.header.channels = channels;
    frame.header.sample_rate = rate;
    frame.header.bits_per_sample = bits;
    for (auto& p : planes)
        pointers.push_back(p.data());
}
