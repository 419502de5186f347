#ifndef LIRVA_SIMHOST_APP_OPTIONS_H
#define LIRVA_SIMHOST_APP_OPTIONS_H

#include <string>
#include <vector>

#include "thread_private.h"

// simhost's command line.
struct Options {
    std::string pluginPath;
    std::string keys;                                 // --keys: an inline script
    std::string scriptFile;                           // --script: a script file
    bool headless = false;                            // --headless: scripted mode even without a script
    bool printEach = false;                           // --print-each
    bool dspSim = true;                               // --no-dsp-sim turns the simulated device off
    bool help = false;                                // --help
    ThreadKill threadKill = ThreadKill::cooperative;  // --thread-kill
    int cols = 90;                                    // --size WxH, headless screen in cells
    int rows = 36;

    // A script was given or headless mode was asked for.
    bool scripted() const { return headless || !keys.empty() || !scriptFile.empty(); }
};

struct ParsedOptions {
    Options options;
    std::string error;  // empty when the command line was valid
    bool ok() const { return error.empty(); }
};

// Parses argv[1..]; options may come before or after the plug-in path and
// take their value as the next word or after '='.
ParsedOptions parseOptions(const std::vector<std::string>& args);

extern const char* const kUsage;

#endif
