#ifndef LIRVA_TESTS_PLUGIN_FIXTURE_H
#define LIRVA_TESTS_PLUGIN_FIXTURE_H

#include <gmock/gmock.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

#include "emainloop.h"
#include "exec_thread.h"
#include "lirva_dialog.h"
#include "temp_tree.h"
#include "wait.h"
#include "widget_private.h"

extern "C" int plugin_exec(void*);

// A player window (not shown) over a temporary directory tree, driven
// directly on the test's thread.
class DialogTest : public ::testing::Test {
protected:
    ~DialogTest() override { ExecThread::stopAll(); }

    std::vector<std::string> entries() const;
    // As if the user had pressed OK on an entry with this text.
    void select(const std::string& text) { dialog->selectedItem(new eListBoxEntryText(&scratch, eString(text))); }
    // Enters an absolute directory from "/" by its full path.
    void enter(const std::string& absolute)
    {
        dialog->displayroot();
        select(absolute);
    }
    std::string current() const { return dialog->currentDirectory(); }
    // The time captions empty and the progress bar at 0.
    static bool displayIdle();

    TempTree tree;
    std::unique_ptr<eLirvaDialog> dialog = std::make_unique<eLirvaDialog>();
    eListBox<eListBoxEntryText> scratch{nullptr};
};

// A player over a folder "music" of corpus files: "track one.flac" (7 s,
// 16-bit stereo 44100 Hz), "picture.flac" (a large picture before the audio)
// and "broken.flac" (not FLAC at all). It plays into a FIFO that stands in
// for the audio device, read by a thread that keeps every byte: held, it
// reads nothing, so a play blocks in write() once the pipe is full, as on a
// real device; paced, it reads as fast as 16-bit stereo at 44100 Hz plays.
// The GUI thread's pauses after a stop are counted, not spent. The host
// kills threads as LIRVA_THREAD_KILL says.
class PlayerTest : public DialogTest {
public:
    static std::vector<unsigned> pauses;   // seconds asked of each pause
    static std::function<void()> onPause;  // runs in place of each pause

protected:
    void SetUp() override;
    void TearDown() override;

    std::string music(const std::string& name) const { return tree / ("music/" + name); }
    static std::string corpus(const std::string& name) { return std::string(LIRVA_CORPUS_DIR) + "/" + name; }
    std::string deviceBytes() const;
    bool deviceFull() const;
    // The play is over and nothing of it is left: no thread, no session,
    // no descriptor beyond those open before the test.
    void expectNothingLeft();

    // Runs the window through the plug-in's entry point on this thread while
    // `user` acts on it from another; then leaves it.
    static void runWindow(const std::function<void()>& user);
    // For the user: presses the keys and waits until the window has handled
    // them; false when it never does (a hang).
    static bool press(std::vector<eRCKey> keys);
    // For the user: once the window lists `entry`, keys onto it and OK.
    static bool choose(const std::string& entry);
    // For the user: walks from "/" to the absolute `path` by name.
    static bool walkTo(const std::string& path);

    std::atomic<bool> held{false};
    std::atomic<bool> paced{false};
    std::atomic<int> devicePlays{0};  // plays that closed the device, all their bytes read
    int fdsBefore = 0;

private:
    void readDevice();

    const std::string devicePath_ = tree / "dsp";
    mutable std::mutex deviceMutex_;
    int deviceFd_ = -1;
    std::string bytes_;
    std::atomic<bool> quit_{false};
    std::thread reader_;
};

#endif
