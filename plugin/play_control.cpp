// Starting and stopping playback from the window.
#include "lirva_dialog.h"
#include "play_thread.h"

std::atomic<ExecThread*> execThread{nullptr};

void eLirvaDialog::play(const eString&)
{
    // Playback arrives with the play thread.
}

void eLirvaDialog::StopPlayer()
{
    setFocus(list);
}

void eLirvaDialog::execThreadFinished(int)
{
    execThread = nullptr;
}
