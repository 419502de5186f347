#include "terminal_player.h"

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <regex>

#include "desktop_support.h"

namespace desktop {

namespace {

std::string uniqueSocketName()
{
    static std::atomic<int> sessions{0};
    return "lirva-test-" + std::to_string(getpid()) + "-" + std::to_string(sessions++);
}

// The text of the cursor's row in the list after its "> ", "" when none shows.
std::string cursorRow(const std::string& screen)
{
    const size_t at = screen.find("|> ");
    return at == std::string::npos ? std::string() : screen.substr(at + 3, screen.find('\n', at) - at - 3);
}

// Whether the cursor is on `entry` (the whole name, not a longer one).
bool cursorOn(const std::string& screen, const std::string& entry)
{
    const std::string row = cursorRow(screen);
    return row.compare(0, entry.size(), entry) == 0 &&
        (row.size() == entry.size() || row[entry.size()] == ' ' || row[entry.size()] == '|');
}

}  // namespace

TerminalPlayer::TerminalPlayer(const std::string& workDir, const std::string& environment)
    : dir_(workDir), socket_(uniqueSocketName())
{
    const std::string command = "cd " + shellQuoted(dir_) + " && stty -a > stty.before; env " + environment +
        " " SIMHOST_EXE " " LIRVA_PLUGIN
        "; echo $? > status.new; stty -a > stty.after; mv status.new status; exec sleep 3600";
    // The server gets a terminal type it knows even when the test runs
    // without one (CI).
    const std::string start = "start-server \\; set-option -g remain-on-exit on \\; new-session -d -x 100 -y 36"
                              " -e LANG=C.UTF-8 -e LC_ALL=C.UTF-8 " +
        shellQuoted(command);
    started_ =
        testsupport::run("TERM=xterm-256color tmux -u -f /dev/null -L " + socket_ + " " + start + " 2>&1").exitCode ==
        0;
}

TerminalPlayer::~TerminalPlayer()
{
    if (started_)
        tmux("kill-server");
}

std::string TerminalPlayer::tmux(const std::string& args) const
{
    return testsupport::run("tmux -u -L " + socket_ + " " + args + " 2>/dev/null").output;
}

void TerminalPlayer::keys(const std::string& names)
{
    tmux("send-keys -t 0 " + names);
}

bool TerminalPlayer::waitFor(const std::function<bool(const std::string&)>& shows)
{
    return waitUntil([&] { return shows(last_ = tmux("capture-pane -p -t 0")); });
}

bool TerminalPlayer::waitForScreen(const std::string& pattern)
{
    const std::regex re(pattern);
    return waitFor([&](const std::string& s) { return std::regex_search(s, re); });
}

bool TerminalPlayer::waitForWindow()
{
    return waitFor(
        [](const std::string& s) { return s.find("Lirva 0.0.2") != std::string::npos && cursorOn(s, ".."); });
}

bool TerminalPlayer::walkTo(const std::string& path)
{
    namespace fs = std::filesystem;
    fs::path dir = "/";
    for (const fs::path& part : fs::path(path).relative_path()) {
        const bool isFolder = fs::is_directory(dir / part);
        const std::string entry = (isFolder ? "/" : "") + part.string();
        // Down one row at a time until the cursor is on the entry: other
        // programs' files may come and go in a folder such as /tmp meanwhile.
        for (size_t presses = 0; !cursorOn(last_, entry); ++presses) {
            const std::string before = cursorRow(last_);
            if (presses > 10000 ||
                (keys("Down"), !waitFor([&](const std::string& s) { return cursorRow(s) != before; })))
                return false;  // not listed, or a hang
        }
        keys("Enter");
        dir /= part;
        if (isFolder && !waitForWindow())
            return false;  // the entered folder, cursor on ".."
    }
    return true;
}

bool TerminalPlayer::waitForExit(int& exitCode)
{
    const std::string status = dir_ + "/status";
    if (!waitUntil([&] { return std::filesystem::exists(status); }))
        return false;
    exitCode = std::stoi("0" + readFile(status));
    last_ = tmux("capture-pane -p -t 0");
    return true;
}

std::string TerminalPlayer::pane(const std::string& format) const
{
    std::string value = tmux("display-message -p -t 0 " + shellQuoted(format));
    while (!value.empty() && value.back() == '\n')
        value.pop_back();
    return value;
}

std::string TerminalPlayer::settingsBefore() const
{
    return readFile(dir_ + "/stty.before");
}

std::string TerminalPlayer::settingsAfter() const
{
    return readFile(dir_ + "/stty.after");
}

}  // namespace desktop
