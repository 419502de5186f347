// The plug-in's entry point: runs the player window modally.
#include <unistd.h>

#include "lirva_dialog.h"

extern "C" int plugin_exec(void*)
{
    {
        eLirvaDialog dialog;
        dialog.show();
        int result = dialog.exec();
        dialog.hide();
        if (result != 0)
            sleep(1);
    }
    return 0;
}
