#ifndef LIRVA_TESTS_SIMHOST_RUN_H
#define LIRVA_TESTS_SIMHOST_RUN_H

// Running the real simhost from a test: its command line, its printed
// screens, and the script that walks the player from "/" to a path.
#include <filesystem>
#include <string>
#include <vector>

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

// The screens simhost printed, each as its text between the marker lines.
inline std::vector<std::string> screens(const std::string& output)
{
    const std::string begin = "----- screen -----\n", end = "----- end screen -----\n";
    std::vector<std::string> found;
    for (size_t at = 0, stop; (at = output.find(begin, at)) != std::string::npos; at = stop) {
        if ((stop = output.find(end, at += begin.size())) == std::string::npos)
            break;
        found.push_back(output.substr(at, stop - at));
    }
    return found;
}

// The script lines that walk the player from "/" along the absolute `path`
// by name: at each level the cursor moves to the entry ("to=", simhost
// finds its row in the list it shows) and "ok" enters the directory or
// plays the file.
inline std::string keysTo(const std::string& path)
{
    std::string keys;
    fs::path at = "/";
    for (const fs::path& part : fs::path(path).relative_path()) {
        at /= part;
        keys += (fs::is_directory(at) ? "to=/" : "to=") + part.string() + "\nok\n";
    }
    return keys;
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
