#ifndef LIRVA_TESTS_ENGINE_RECORDING_DISPLAY_H
#define LIRVA_TESTS_ENGINE_RECORDING_DISPLAY_H

#include <cstdint>
#include <string>
#include <vector>

// Stands in for the window's status display in the engine's tests: each of
// the six operations is recorded with the record's values at the call.
struct DisplayCall {
    std::string op;
    int32_t total_time;
    int32_t elapsed_time;
    int32_t percent;
};

std::vector<DisplayCall>& display_calls();
std::vector<std::string> display_ops();  // the names only, in order

#endif
