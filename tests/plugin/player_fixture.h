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

    // Polls until `condition` holds; false after `limit`.
    static bool waitFor(const std::function<bool()>& condition,
                        std::chrono::milliseconds limit = std::chrono::seconds(10));
    static bool displayIdle();
    // Every play has ended and the device has read all of it.
    bool deviceSettled() const;
    // Waits until the device is settled with at least `plays` plays counted.
    bool deviceSettledAfter(size_t plays, std::chrono::milliseconds limit = std::chrono::seconds(10)) const;
    // Waits a little until no descriptor is open beyond those open before
    // the test: the device's reader may still hold one of a play it has not
    // counted yet.
    bool descriptorsRestored() const;
    static std::string corpus(const std::string& name);
    // The keys that walk a fresh window from "/" into `dir`.
    std::vector<eRCKey> keysFromRootTo(const std::string& dir);

    std::unique_ptr<FifoDevice> device;
    int fdsBefore = 0;
};

#endif
