#ifndef LIRVA_PLUGIN_LIRVA_DIALOG_H
#define LIRVA_PLUGIN_LIRVA_DIALOG_H

#include <ebutton.h>
#include <elabel.h>
#include <elistbox.h>
#include <eprogress.h>
#include <estring.h>
#include <ewindow.h>

class ExecThread;

// The player window: the file browser, the Root, Stop, Next and Pause
// buttons, the progress bar, the time labels and the playing file's lines.
class eLirvaDialog : public eWindow {
public:
    eLirvaDialog();
    ~eLirvaDialog() override;

    // Browser: fills the list with the entries of one directory.
    void dispfiles(const eString& path);
    // Slots of the list, the Root button and the Stop button.
    void selectedItem(eListBoxEntryText* entry);
    void selectionChanged(eListBoxEntryText* entry);
    void displayroot();
    void StopPlayer();
    // Slots of the Next and Pause buttons: skip to the next file of the
    // run, pause or resume it.
    void NextTrack();
    void PausePlayer();
    // Goes up one directory level.
    void folderup();
    // Slot of the play thread's finished signal.
    void execThreadFinished(int result);

    // Status display: act on the process-wide status widgets only.
    static void DisplayTotalTime();
    static void HideTotalTime();
    static void DisplayElapsedTime();
    static void display_elapsed_time();
    static void HideElapsedTime();
    static void ResetProgressBar();
    // The playing file's artist and title and its format, on the two line
    // labels; emptied when the play ends.
    static void DisplayTrack();
    static void HideTrack();

    // Read access for the host's tests and tools.
    const eString& currentDirectory() const { return currentDir; }
    eListBox<eListBoxEntryText>* fileList() const { return list; }

private:
    // Starts playing the file at `path`, replacing a thread that still exists.
    void play(const eString& path);
    // The play thread that plays now, or null.
    ExecThread* playing() const;
    // A button on a colour key in the buttons' row.
    eButton* colourButton(int x, int width, const char* colour, const char* text);

    eListBox<eListBoxEntryText>* list;
    eButton* bt_root;
    eButton* bt_stop;
    eLabel* lb_line1;
    eString currentDir;
    eButton* bt_next;
    eButton* bt_pause;
};

#endif
