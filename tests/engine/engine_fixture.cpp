// The window's status display, replaced by one that records its calls.
#include <lirva_dialog.h>

#include "engine_fixture.h"

#define RECORDED(op)                                                                                                   \
    void eLirvaDialog::op()                                                                                            \
    {                                                                                                                  \
        display_ops.push_back(#op);                                                                                    \
        if (display_hook)                                                                                              \
            display_hook(#op);                                                                                         \
    }
RECORDED(DisplayTotalTime)
RECORDED(HideTotalTime)
RECORDED(DisplayElapsedTime)
RECORDED(display_elapsed_time)
RECORDED(HideElapsedTime)
RECORDED(ResetProgressBar)
RECORDED(DisplayTrack)
RECORDED(HideTrack)
