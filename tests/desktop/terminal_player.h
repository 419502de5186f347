#ifndef LIRVA_TESTS_DESKTOP_TERMINAL_PLAYER_H
#define LIRVA_TESTS_DESKTOP_TERMINAL_PLAYER_H

// The real simhost with the real plug-in in a real terminal, the way
// scripts/run.sh opens it: a tmux server of the test's own (its own socket,
// no user configuration) runs it from a shell in a UTF-8 locale. Keys go in
// with send-keys, the screen comes back with capture-pane. The shell stays
// after simhost, so the terminal's state is the one simhost left.
#include <functional>
#include <string>

namespace desktop {

class TerminalPlayer {
public:
    // Runs simhost in `workDir` with `environment` ("NAME=value ..." for
    // env(1)), recording `stty -a` before and after it.
    TerminalPlayer(const std::string& workDir, const std::string& environment);
    ~TerminalPlayer();  // ends the tmux server
    TerminalPlayer(const TerminalPlayer&) = delete;
    TerminalPlayer& operator=(const TerminalPlayer&) = delete;

    bool started() const { return started_; }
    // Presses keys by tmux's names ("Down", "Enter", "Escape", "b").
    void keys(const std::string& names);
    // The screen read last, one line per row.
    const std::string& lastScreen() const { return last_; }

    // Each wait is false on a hang, with the last screen kept.
    bool waitForScreen(const std::string& pattern);  // a regular expression
    bool waitForWindow();                            // the window, cursor on ".."
    // Walks from the listing on the screen (the root) along the absolute
    // `path` with Down and Enter, finding each entry by name; a file at its
    // end is played.
    bool walkTo(const std::string& path);
    bool waitForExit(int& exitCode);

    // A value of the pane in tmux's format language, e.g. "#{alternate_on}".
    std::string pane(const std::string& format) const;
    std::string settingsBefore() const;
    std::string settingsAfter() const;

private:
    std::string tmux(const std::string& args) const;
    bool waitFor(const std::function<bool(const std::string&)>& shows);

    std::string dir_;
    std::string socket_;
    bool started_ = false;
    std::string last_;
};

}  // namespace desktop

#endif
