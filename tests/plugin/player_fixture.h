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
    void SetUp() override;
    void TearDown() override;

    // Browses into the folder and selects `name` as the user would.
    void play(const std::string& name);

    // Polls until `condition` holds; false after `limit`.
    static bool waitFor(const std::function<bool()>& condition,
                        std::chrono::milliseconds limit = std::chrono::seconds(10));
    static bool displayIdle();
    // Every play has ended and the device has read all of it.
    bool deviceSettled() const;
    // Waits until the device is settled with `plays` plays counted: its
    // reader counts a play a moment after the play has opened it, so a
    // short play may have ended and closed before it is counted.
    bool deviceSettledAfter(size_t plays, std::chrono::milliseconds limit = std::chrono::seconds(10)) const;
    // No descriptor is left open beyond those open before the test. The
    // device's reader may hold one for a moment after a play's close before
    // it counts the play, so this waits a little for it.
    bool descriptorsRestored() const;
    static std::string corpus(const std::string& name);

    std::unique_ptr<FifoDevice> device;
    int fdsBefore = 0;
};

#endif
