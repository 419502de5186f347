#ifndef LIRVA_TESTS_PLUGIN_FIXTURE_H
#define LIRVA_TESTS_PLUGIN_FIXTURE_H

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

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
    std::string current() const { return dialog->currentDirectory(); }
    // The time captions empty and the progress bar at 0.
    static bool displayIdle();
    // Enters an absolute directory from "/" by its full path.
    void enter(const std::string& absolute)
    {
        dialog->displayroot();
        select(absolute);
    }

    TempTree tree;
    std::unique_ptr<eLirvaDialog> dialog = std::make_unique<eLirvaDialog>();
    eListBox<eListBoxEntryText> scratch{nullptr};
};

// The audio device's stand-in: a FIFO that the engine opens as its node,
// read by a thread that keeps every byte. Held, it reads nothing, so a play
// blocks in write() once the pipe is full, as on a real device; paced, it
// reads about as fast as a device plays 16-bit stereo at 44100 Hz.
class FifoDevice {
public:
    explicit FifoDevice(std::string path);
    ~FifoDevice();

    std::atomic<bool> held{false};
    std::atomic<bool> paced{false};
    std::string bytes() const;
    // Plays whose writer has closed the device and whose bytes are all read.
    int ended() const;
    bool full() const;

private:
    void read();

    std::string path_;
    mutable std::mutex mutex_;
    int fd_;
    std::string bytes_;
    int ended_ = 0;
    std::atomic<bool> quit_{false};
    std::thread reader_;
};

// A player over a folder "music" of corpus files, playing into a FifoDevice,
// with the GUI thread's pauses after a stop counted, not spent. The folder
// holds "track one.flac" (7 s, 16-bit stereo 44100 Hz), "picture.flac" (a
// large picture before the audio) and "broken.flac" (not FLAC at all). Runs
// under the host's thread kill that LIRVA_THREAD_KILL names.
class PlayerTest : public DialogTest {
public:
    static std::vector<unsigned> pauses;   // seconds asked of each GUI pause
    static std::function<void()> onPause;  // runs in place of each pause

protected:
    void SetUp() override;
    void TearDown() override;

    std::string music(const std::string& name) const { return tree / ("music/" + name); }
    static std::string corpus(const std::string& name);
    // Browses into the folder and selects `name`, on the test's thread.
    void play(const std::string& name);
    // The play is over and nothing of it is left: no thread, no session,
    // no descriptor beyond those open before the test.
    void expectNothingLeft();

    // Runs the window through the plug-in's entry point on this thread,
    // while `user` acts on it from another; then leaves it.
    static void runWindow(const std::function<void()>& user);
    // From a user's thread: once the window lists `entry` in its current
    // folder, keys onto it and presses OK; false when it never shows (a hang).
    static bool choose(const std::string& entry);
    // From a user's thread: walks from "/" to the absolute `path` by name.
    static bool walkTo(const std::string& path);
    // From a user's thread: presses `key` and waits until it is handled.
    static bool press(eRCKey key);

    std::unique_ptr<FifoDevice> device;
    int fdsBefore = 0;
};

#endif
