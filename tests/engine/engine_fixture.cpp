#include "engine_fixture.h"

#include <decoder_session.h>
#include <lirva_dialog.h>
#include <stream_info.h>

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

// The record as a new session starts it, the display log empty.
void EngineTest::reset_record()
{
    forget_stream_info(file_info);
    decoder_destructor();
    display_ops().clear();
}
