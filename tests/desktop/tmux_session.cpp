#include "tmux_session.h"

#include <unistd.h>

#include <atomic>

#include "desktop_support.h"
#include "simhost_run.h"

namespace desktop {

namespace {

std::string uniqueSocketName()
{
    static std::atomic<int> sessions{0};
    return "lirva-test-" + std::to_string(getpid()) + "-" + std::to_string(sessions++);
}

}  // namespace

TmuxSession::TmuxSession(const std::string& shellCommand, int cols, int rows) : socket_(uniqueSocketName())
{
    using simhost_run::shellQuoted;
    // -f /dev/null: no user configuration. The server gets a terminal type
    // it knows even when the test runs without one (CI).
    const std::string start = "start-server \\; set-option -g remain-on-exit on \\; new-session -d -x " +
        std::to_string(cols) + " -y " + std::to_string(rows) + " -e LANG=C.UTF-8 -e LC_ALL=C.UTF-8 " +
        shellQuoted(shellCommand);
    started_ =
        simhost_run::run("TERM=xterm-256color tmux -u -f /dev/null -L " + socket_ + " " + start + " 2>&1").exitCode ==
        0;
}

TmuxSession::~TmuxSession()
{
    if (started_)
        tmux("kill-server");
}

std::string TmuxSession::tmux(const std::string& args) const
{
    return simhost_run::run("tmux -u -L " + socket_ + " " + args + " 2>/dev/null").output;
}

void TmuxSession::keys(const std::string& names)
{
    tmux("send-keys -t 0 " + names);
}

std::string TmuxSession::screen() const
{
    return tmux("capture-pane -p -t 0");
}

bool TmuxSession::waitForScreen(const std::function<bool(const std::string&)>& shows, std::string& last) const
{
    return waitUntil([&] { return shows(last = screen()); });
}

std::string TmuxSession::pane(const std::string& format) const
{
    std::string value = tmux("display-message -p -t 0 " + simhost_run::shellQuoted(format));
    while (!value.empty() && value.back() == '\n')
        value.pop_back();
    return value;
}

}  // namespace desktop
