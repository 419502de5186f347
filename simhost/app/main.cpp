// simhost: the stand-in for the set-top box's GUI application. It loads a
// plug-in, gives it a screen and remote-control keys (the terminal, or a key
// script when headless) and returns the plug-in's result as its exit code.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>

#include "curses_frontend.h"
#include "dsp_preload.h"
#include "emainloop.h"
#include "key_script.h"
#include "options.h"
#include "plugin_loader.h"
#include "script_frontend.h"
#include "thread_private.h"

#ifndef LIRVA_DSP_SIM_PATH
#define LIRVA_DSP_SIM_PATH ""
#endif

namespace {

constexpr int kUsageError = 2;
constexpr int kWindowStuck = 3;

bool readFile(const std::string& path, std::string& text)
{
    std::ifstream in(path);
    if (!in)
        return false;
    std::ostringstream all;
    all << in.rdbuf();
    text = all.str();
    return true;
}

// The script's steps, or an error message.
bool loadScript(const Options& o, std::vector<ScriptStep>& steps, std::string& error)
{
    std::string text = o.keys;
    if (!o.scriptFile.empty() && !readFile(o.scriptFile, text)) {
        error = "cannot read script " + o.scriptFile;
        return false;
    }
    ParsedScript parsed = parseScript(text);
    if (!parsed.ok()) {
        error = (o.scriptFile.empty() ? std::string("--keys") : o.scriptFile) + ": " + parsed.error;
        return false;
    }
    steps = std::move(parsed.steps);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    const ParsedOptions parsed = parseOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (parsed.options.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (!parsed.ok()) {
        std::fprintf(stderr, "simhost: %s\n%s", parsed.error.c_str(), kUsage);
        return kUsageError;
    }
    const Options& o = parsed.options;

    std::vector<ScriptStep> steps;
    std::string error;
    if (o.scripted() && !loadScript(o, steps, error)) {
        std::fprintf(stderr, "simhost: %s\n", error.c_str());
        return kUsageError;
    }

    if (o.dspSim)
        restartWithDspSimIfNeeded(argv, dspSimLibrary(LIRVA_DSP_SIM_PATH).c_str());

    setThreadKill(o.threadKill);
    const LoadedPlugin plugin = loadPlugin(o.pluginPath);
    if (!plugin.ok()) {
        std::fprintf(stderr, "simhost: cannot load plug-in: %s\n", plugin.error.c_str());
        return kUsageError;
    }

    std::unique_ptr<eFrontend> frontend;
    if (o.scripted() || !isatty(STDOUT_FILENO) || !isatty(STDIN_FILENO)) {
        auto script = std::make_unique<ScriptFrontend>(std::move(steps), o.cols, o.rows, o.printEach, std::cout);
        script->onWindowStuck([] {
            std::fprintf(stderr, "simhost: the window did not close after the script ended\n");
            std::fflush(stdout);
            std::_Exit(kWindowStuck);
        });
        frontend = std::move(script);
    } else {
        frontend = std::make_unique<CursesFrontend>();
    }

    eMainloop::instance().setFrontend(frontend.get());
    const int result = plugin.entry(nullptr);
    eMainloop::instance().setFrontend(nullptr);
    frontend.reset();  // restores the terminal
    std::cout.flush();
    return result;
}
