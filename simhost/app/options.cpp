#include "options.h"

#include <cctype>

const char* const kUsage =
    "usage: simhost [options] PLUGIN.so\n"
    "Loads a plug-in and runs its plugin_exec with a terminal screen, or headless with a key script.\n"
    "  --keys \"STEPS\"   run headless with these steps, e.g. \"down down ok wait=500 print blue\"\n"
    "  --script FILE    run headless with the steps in FILE ('#' starts a comment)\n"
    "  --headless       run headless with no steps: print the screen once and leave\n"
    "  --print-each     print the screen after every step\n"
    "  --size WxH       size of the printed screen in characters (default 90x36)\n"
    "  --no-dsp-sim     do not preload the simulated /dev/dsp\n"
    "  --thread-kill=cooperative|cancel|early\n"
    "                   how eThread::kill ends a thread: wake it until it returns (default),\n"
    "                   or cancel it (POSIX cancellation) and join it, as some hosts do,\n"
    "                   or return at once and let it end by itself\n"
    "Steps: up down left right pgup pgdown ok exit red green yellow blue wait=MS print\n"
    "       to=TEXT (cursor onto the list entry TEXT), await=TEXT (until the screen shows TEXT);\n"
    "       both take the rest of their line\n";

namespace {

// A positive decimal number of at most 4 digits.
int smallPositive(const std::string& s)
{
    if (s.empty() || s.size() > 4)
        return 0;
    int n = 0;
    for (char c : s) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return 0;
        n = n * 10 + (c - '0');
    }
    return n;
}

bool parseSize(const std::string& text, int& cols, int& rows)
{
    const size_t x = text.find('x');
    if (x == std::string::npos)
        return false;
    const int c = smallPositive(text.substr(0, x)), r = smallPositive(text.substr(x + 1));
    if (c < 10 || r < 3 || c > 1000 || r > 1000)
        return false;
    cols = c, rows = r;
    return true;
}

}  // namespace

ParsedOptions parseOptions(const std::vector<std::string>& args)
{
    ParsedOptions parsed;
    Options& o = parsed.options;
    for (size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i], value;
        bool hasValue = false;
        const size_t eq = arg.find('=');
        if (arg.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = arg.substr(eq + 1), arg.erase(eq), hasValue = true;
        }
        const auto takeValue = [&]() {
            if (hasValue)
                return true;
            if (i + 1 >= args.size())
                return false;
            value = args[++i];
            return true;
        };
        const auto fail = [&](const std::string& why) {
            parsed.error = why;
            return parsed;
        };

        if (arg == "--keys") {
            if (!takeValue())
                return fail("--keys needs a list of steps");
            o.keys = value;
            if (o.keys.find_first_not_of(" \t\n") == std::string::npos)
                o.headless = true;
        } else if (arg == "--script") {
            if (!takeValue() || value.empty())
                return fail("--script needs a file");
            o.scriptFile = value;
        } else if (arg == "--size") {
            if (!takeValue() || !parseSize(value, o.cols, o.rows))
                return fail("--size needs WxH, from 10x3 to 1000x1000");
        } else if (arg == "--thread-kill") {
            if (!takeValue() || !parseThreadKill(value, o.threadKill))
                return fail("--thread-kill needs cooperative, cancel or early");
        } else if (hasValue) {
            return fail(arg + " takes no value");
        } else if (arg == "--headless") {
            o.headless = true;
        } else if (arg == "--print-each") {
            o.printEach = true;
        } else if (arg == "--no-dsp-sim") {
            o.dspSim = false;
        } else if (arg == "--help" || arg == "-h") {
            o.help = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return fail("unknown option " + arg);
        } else if (!o.pluginPath.empty()) {
            return fail("more than one plug-in given: " + o.pluginPath + ", " + arg);
        } else {
            o.pluginPath = arg;
        }
    }
    if (o.pluginPath.empty() && !o.help)
        parsed.error = "no plug-in given";
    if (!o.keys.empty() && !o.scriptFile.empty())
        parsed.error = "give either --keys or --script, not both";
    return parsed;
}
