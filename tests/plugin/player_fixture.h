#ifndef LIRVA_TESTS_PLAYER_FIXTURE_H
#define LIRVA_TESTS_PLAYER_FIXTURE_H

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "dialog_fixture.h"
#include "fifo_device.h"
#include "open_descriptors.h"
#include "wait.h"
#include "widget_private.h"

// A player window over a temporary folder "music" of corpus files, playing
// into a FIFO device, with the GUI thread's one-second pauses counted, not
// spent. The folder holds "track one.flac" (7 s, 16-bit stereo 44100 Hz),
// "picture.flac" (a large picture before the audio), "damaged.flac" (broken
// metadata) and "broken.flac" (not FLAC at all).
class PlayerTest : public DialogTest {
public:
    static std::vector<unsigned> pauses;   // seconds asked of each GUI pause
    static std::function<void()> onPause;  // runs in place of each pause

protected:
    using DialogTest::DialogTest;
    void SetUp() override;
    void TearDown() override;

    // Browses into the folder and selects `name` as the user would.
    void play(const std::string& name);

    // Polls until `condition` holds; false after `limit` (a hang).
    static bool waitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit = testwait::hang_bound);
    static bool displayIdle();
    // Every play has ended and the device has read all of it.
    bool deviceSettled() const;
    // Waits until the device is settled with at least `plays` plays counted.
    bool deviceSettledAfter(size_t plays, std::chrono::milliseconds limit = testwait::hang_bound) const;
    // Waits until no descriptor is open beyond those open before
    // the test: the device's reader may still hold one of a play it has not
    // counted yet.
    bool descriptorsRestored() const;
    static std::string corpus(const std::string& name);
    // Walks the running window from "/" to the absolute `path` by name, as
    // a user reading the screen would: at each level, once the window
    // lists the entry, keys onto it and OK (entering a folder, playing a
    // file). For a thread beside plugin_exec; returns the keys it posted,
    // or -1 when a level never showed (a hang).
    static int walkTo(const std::string& path);

    std::unique_ptr<FifoDevice> device;
    int fdsBefore = 0;
};

#endif
