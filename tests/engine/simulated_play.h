#ifndef LIRVA_TESTS_ENGINE_SIMULATED_PLAY_H
#define LIRVA_TESTS_ENGINE_SIMULATED_PLAY_H

#include <string>
#include <vector>

namespace enginetest {

// What a run of lirva-play left: its exit status and output lines, the
// simulated device's log lines and the bytes it was sent.
struct SimulatedPlay {
    int status = -1;
    std::vector<std::string> out;
    std::vector<std::string> device_log;
    std::string bytes;
};

// Plays `file` with lirva-play -v into the simulated device (unpaced),
// which gives `answer` to the device's settings ("" for the ones asked).
SimulatedPlay play_on_simulated_device(const std::string& file, const std::string& answer = "");

}  // namespace enginetest

#endif
