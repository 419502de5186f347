#include "player_in_terminal.h"

#include <algorithm>
#include <regex>

#include "desktop_support.h"
#include "simhost_run.h"

namespace desktop {

using simhost_run::shellQuoted;

namespace {

// The shell stays (asleep) after simhost, so that the terminal's state is
// the one simhost left, not that of a pane whose program has ended.
std::string paneCommand(const std::string& dir, const std::string& environment)
{
    const std::string d = shellQuoted(dir);
    return "cd " + d + " && stty -a > stty.before; env " + environment +
        " " SIMHOST_EXE " " LIRVA_PLUGIN
        "; echo $? > status.new; stty -a > stty.after; mv status.new status; exec sleep 3600";
}

}  // namespace

PlayerInTerminal::PlayerInTerminal(const std::string& workDir, const std::string& environment)
    : dir_(workDir), tmux_(paneCommand(workDir, environment), kCols, kRows)
{ }

bool PlayerInTerminal::waitForWindow()
{
    return tmux_.waitForScreen(
        [](const std::string& s) {
            return s.find("Lirva 0.0.2") != std::string::npos && simhost_run::rowOf(s, "..", true) != std::string::npos;
        },
        last_);
}

namespace {

// The text of the cursor's row in the list, "" when none shows.
std::string cursorRow(const std::string& screen)
{
    const size_t at = screen.find("|> ");
    return at == std::string::npos ? std::string() : screen.substr(at, screen.find('\n', at) - at);
}

}  // namespace

bool PlayerInTerminal::walkTo(const std::string& path)
{
    namespace fs = std::filesystem;
    fs::path dir = "/";
    for (const fs::path& part : fs::path(path).relative_path()) {
        const bool isFolder = fs::is_directory(dir / part);
        const std::string entry = (isFolder ? "/" : "") + part.string();
        // Down one row at a time until the cursor is on the entry: other
        // programs' files may come and go in a folder such as /tmp meanwhile.
        for (size_t presses = 0; simhost_run::rowOf(last_ = tmux_.screen(), entry, true) == std::string::npos;
             ++presses) {
            if (presses > 10000)
                return false;  // never reached: not listed
            const std::string before = cursorRow(last_);
            tmux_.keys("Down");
            if (!tmux_.waitForScreen([&](const std::string& s) { return cursorRow(s) != before; }, last_))
                return false;
        }
        tmux_.keys("Enter");
        dir /= part;
        if (isFolder && !waitForWindow())
            return false;  // the entered folder, cursor on ".."
    }
    return true;
}

bool PlayerInTerminal::waitForScreen(const std::string& pattern)
{
    const std::regex re(pattern);
    return tmux_.waitForScreen([&](const std::string& s) { return std::regex_search(s, re); }, last_);
}

bool PlayerInTerminal::waitForExit(int& exitCode)
{
    const std::string status = dir_ + "/status";
    if (!waitUntil([&] { return std::filesystem::exists(status); }))
        return false;
    exitCode = std::stoi("0" + readFile(status));
    last_ = tmux_.screen();
    return true;
}

std::string PlayerInTerminal::settingsBefore() const
{
    return readFile(dir_ + "/stty.before");
}
std::string PlayerInTerminal::settingsAfter() const
{
    return readFile(dir_ + "/stty.after");
}

}  // namespace desktop
