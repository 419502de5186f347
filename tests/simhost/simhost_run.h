#ifndef LIRVA_TESTS_SIMHOST_RUN_H
#define LIRVA_TESTS_SIMHOST_RUN_H

// Running the real simhost from a test: its command line, and the rows of
// the screens it prints.
#include <filesystem>
#include <string>

#include "command.h"

namespace simhost_run {

namespace fs = std::filesystem;

using RunResult = testsupport::CommandResult;
using testsupport::run;
using testsupport::shellQuoted;

// The command line that starts simhost. In a cross build it runs under the
// emulator that runs this test; its restart with the simulated device would
// go to the kernel and fail, so the emulator preloads the device for it (-E).
inline std::string simhost(const std::string& args)
{
    const std::string emulator = LIRVA_TEST_EMULATOR;
    const std::string launch =
        emulator.empty() ? std::string() : emulator + " -E LD_PRELOAD=" + shellQuoted(LIRVA_DSP_SIM) + " ";
    return launch + SIMHOST_EXE + " " + args;
}

// Where the row of an entry starts in a printed screen ("> " for the
// cursor row, "  " for the others); npos when the entry is not shown.
inline size_t rowOf(const std::string& screen, const std::string& entry, bool cursor = false)
{
    const std::string cell = (cursor ? "> " : "  ") + entry;
    for (size_t at = screen.find(cell); at != std::string::npos; at = screen.find(cell, at + 1)) {
        const size_t after = at + cell.size();
        if (after < screen.size() && (screen[after] == ' ' || screen[after] == '|' || screen[after] == '\n'))
            return at;
    }
    return std::string::npos;
}

}  // namespace simhost_run

#endif
