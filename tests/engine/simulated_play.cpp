#include "simulated_play.h"

#include <cstdlib>
#include <sstream>

#include "command.h"
#include "temp_tree.h"

namespace enginetest {

namespace {

std::vector<std::string> lines_of(const std::string& text)
{
    std::vector<std::string> lines;
    std::stringstream s(text);
    for (std::string line; std::getline(s, line);)
        lines.push_back(line);
    return lines;
}

}  // namespace

SimulatedPlay play_on_simulated_device(const std::string& file, const std::string& answer)
{
    using testsupport::shellQuoted;
    TempTree dir;
    const char* asan = getenv("ASAN_OPTIONS");
    // In a cross build lirva-play runs under the emulator that runs the
    // test, with the preload set for the emulated program alone (-E).
    const std::string emulator = LIRVA_TEST_EMULATOR;
    const std::string preload = "LD_PRELOAD=" + shellQuoted(LIRVA_DSP_SIM) + " " + shellQuoted(LIRVA_PLAY);
    const std::string command = "env LIRVA_DSP_SPEED=0 LIRVA_DSP_CAPTURE=" + shellQuoted(dir / "capture") +
        " LIRVA_DSP_LOG=" + shellQuoted(dir / "log") + " LIRVA_DSP_ANSWER=" + shellQuoted(answer) +
        " ASAN_OPTIONS=" + shellQuoted((asan ? std::string(asan) + ":" : "") + "verify_asan_link_order=0") +
        " timeout 60 " + (emulator.empty() ? "env " + preload : emulator + " -E " + preload) + " -v " +
        shellQuoted(file) + " 2>&1";
    const testsupport::CommandResult r = testsupport::run(command);
    return {r.exitCode, lines_of(r.output), lines_of(testsupport::readFile(dir / "log")),
            testsupport::readFile(dir / "capture")};
}

}  // namespace enginetest
