// Starting and stopping playback from the window.
#include <sigc++/sigc++.h>
#include <unistd.h>

#include "exec_thread.h"
#include "file_info.h"
#include "gui_pause.h"
#include "lirva_dialog.h"

unsigned (*gui_pause)(unsigned) = sleep;

void eLirvaDialog::play(const eString& path)
{
    // A thread that still exists is stopped, even one past its session, and
    // has ended before the next starts, whether or not the host's kill waits
    // for that: two plays would share the record and the device.
    if (ExecThread* old = execThread.load()) {
        old->stop();
        old->awaitEnd();
        gui_pause(1);
    }
    ExecThread::reclaimEnded();

    ExecThread* next = new ExecThread(path);
    next->through_folder = true;
    execThread = next;
    next->finished.connect(SigC::slot(*this, &eLirvaDialog::execThreadFinished));
    next->start();
}

ExecThread* eLirvaDialog::playing() const
{
    // A thread still setting up its play (device, file, metadata) counts:
    // it may be held there by the file or the device, and nothing else
    // would stop it. A thread past its play is left alone.
    ExecThread* current = execThread.load();
    return current != nullptr && (file_info.is_playing || current->in_play()) ? current : nullptr;
}

void eLirvaDialog::StopPlayer()
{
    if (ExecThread* current = playing())
        current->stop();
    setFocus(list);
}

void eLirvaDialog::NextTrack()
{
    if (ExecThread* current = playing())
        current->next();
    setFocus(list);
}

void eLirvaDialog::PausePlayer()
{
    if (ExecThread* current = playing())
        current->pause();
    setFocus(list);
}

// The ended thread has already forgotten itself as the current play
// (ExecThread::thread_finished), where it knows whether it still is that;
// clearing the pointer here could forget the play that replaced it.
void eLirvaDialog::execThreadFinished(int)
{ }
