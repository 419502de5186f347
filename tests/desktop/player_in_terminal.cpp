#include "player_in_terminal.h"

#include <algorithm>
#include <regex>

#include "desktop_support.h"
#include "simhost_run.h"

namespace desktop {

using simhost_run::shellQuoted;

namespace {

std::string paneCommand(const std::string& dir, const std::string& environment) {
    const std::string d = shellQuoted(dir);
    return "cd " + d + " && stty -a > stty.before; env " + environment + " " SIMHOST_EXE " " LIRVA_PLUGIN
           "; echo $? > status.new; stty -a > stty.after; mv status.new status";
}

}  // namespace

PlayerInTerminal::PlayerInTerminal(const std::string& workDir, const std::string& environment)
    : dir_(workDir), tmux_(paneCommand(workDir, environment), kCols, kRows) {}

bool PlayerInTerminal::waitForWindow() {
    return tmux_.waitForScreen([](const std::string& s) {
        return s.find("Lirva 0.0.2") != std::string::npos && simhost_run::rowOf(s, "..", true) != std::string::npos;
    }, last_);
}

bool PlayerInTerminal::walkTo(const std::string& path) {
    namespace fs = std::filesystem;
    fs::path dir = "/";
    for (const fs::path& part : fs::path(path).relative_path()) {
        const std::vector<std::string> listed = simhost_run::playerListing(dir);
        auto it = std::find(listed.begin(), listed.end(), "/" + part.string());
        if (it == listed.end()) it = std::find(listed.begin(), listed.end(), part.string());
        if (it == listed.end()) return false;
        std::string downs;
        for (auto n = it - listed.begin(); n > 0; --n) downs += " Down";
        if (!downs.empty()) tmux_.keys(downs);
        const std::string entry = *it;
        if (!tmux_.waitForScreen([&](const std::string& s) {
                return simhost_run::rowOf(s, entry, true) != std::string::npos;
            }, last_))
            return false;
        tmux_.keys("Enter");
        dir /= part;
        if (entry[0] == '/' && !waitForWindow()) return false;   // the entered folder, cursor on ".."
    }
    return true;
}

bool PlayerInTerminal::waitForScreen(const std::string& pattern) {
    const std::regex re(pattern);
    return tmux_.waitForScreen([&](const std::string& s) { return std::regex_search(s, re); }, last_);
}

bool PlayerInTerminal::waitForExit(int& exitCode) {
    const std::string status = dir_ + "/status";
    if (!waitUntil([&] { return std::filesystem::exists(status); })) return false;
    exitCode = std::stoi("0" + readFile(status));
    last_ = tmux_.screen();
    return true;
}

std::string PlayerInTerminal::settingsBefore() const { return readFile(dir_ + "/stty.before"); }
std::string PlayerInTerminal::settingsAfter() const { return readFile(dir_ + "/stty.after"); }

}  // namespace desktop
