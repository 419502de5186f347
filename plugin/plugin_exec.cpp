// The plug-in's entry point: runs the player window modally.
#include "exec_thread.h"
#include "gui_pause.h"
#include "lirva_dialog.h"

extern "C" int plugin_exec(void*)
{
    {
        eLirvaDialog dialog;
        dialog.show();
        int result = dialog.exec();
        dialog.hide();
        // Every play thread ends before the window goes, whatever its state
        // (still opening its session, playing, or past it) and whatever the
        // loop's result: none may reach the window's widgets afterwards.
        ExecThread::stopAll();
        if (result != 0)
            gui_pause(1);
    }
    return 0;
}
