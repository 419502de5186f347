#ifndef LIRVA_TESTS_PLAYER_FIXTURE_H
#define LIRVA_TESTS_PLAYER_FIXTURE_H

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "dialog_fixture.h"
#include "fifo_device.h"

// A player window over a temporary folder of corpus files, playing into a
// FIFO device, with the GUI thread's one-second pauses counted, not spent.
class PlayerTest : public DialogTest {
public:
    static std::vector<unsigned> pauses;   // seconds asked of each GUI pause
    static std::function<void()> onPause;  // runs in place of each pause

protected:
    void SetUp() override;
    void TearDown() override;

    // Copies a corpus file into the folder under `name`.
    void addCorpusFile(const std::string& corpusName, const std::string& name);
    // Browses into the folder and selects `name` as the user would.
    void play(const std::string& name);

    // Polls until `condition` holds; false after `limit`.
    static bool waitFor(const std::function<bool()>& condition,
                        std::chrono::milliseconds limit = std::chrono::seconds(10));
    static bool displayIdle();
    // Every play has ended and the device has read all of it.
    bool deviceSettled() const;
    static std::string corpus(const std::string& name);

    std::unique_ptr<FifoDevice> device;
    int fdsBefore = 0;
};

// Open file descriptors of this process.
int openDescriptors();

#endif
