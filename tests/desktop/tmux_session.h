#ifndef LIRVA_TESTS_DESKTOP_TMUX_SESSION_H
#define LIRVA_TESTS_DESKTOP_TMUX_SESSION_H

// A program in a real terminal: a tmux server of the test's own (its own
// socket, no user configuration) with one window that runs a shell command
// in a UTF-8 locale. Keys go in with send-keys, the screen comes back with
// capture-pane. The pane stays after the command ends, so that its last
// screen and the terminal's state can still be read.
#include <functional>
#include <string>

namespace desktop {

class TmuxSession {
public:
    TmuxSession(const std::string& shellCommand, int cols, int rows);
    ~TmuxSession();  // ends the server
    TmuxSession(const TmuxSession&) = delete;
    TmuxSession& operator=(const TmuxSession&) = delete;

    bool started() const { return started_; }

    // Presses keys by tmux's names ("Down", "Enter", "Escape", "b").
    void keys(const std::string& names);
    // The visible screen, one line per row.
    std::string screen() const;
    // Waits until `shows(screen())` holds; on a hang, false with the last
    // screen in `last`.
    bool waitForScreen(const std::function<bool(const std::string&)>& shows, std::string& last) const;
    // A value of the pane in tmux's format language, e.g. "#{alternate_on}".
    std::string pane(const std::string& format) const;

private:
    std::string tmux(const std::string& args) const;

    std::string socket_;
    bool started_ = false;
};

}  // namespace desktop

#endif
