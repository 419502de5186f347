#ifndef LIRVA_TESTS_DESKTOP_PLAYER_IN_TERMINAL_H
#define LIRVA_TESTS_DESKTOP_PLAYER_IN_TERMINAL_H

// The real simhost with the real plug-in in a real terminal, the way
// scripts/run.sh opens it: started from a shell in tmux, driven with keys.
#include <string>

#include "tmux_session.h"

namespace desktop {

class PlayerInTerminal {
public:
    static constexpr int kCols = 100, kRows = 36;

    // Runs simhost in `workDir` with `environment` ("NAME=value ..." for
    // env(1)), recording the terminal's settings before and after it.
    PlayerInTerminal(const std::string& workDir, const std::string& environment);

    TmuxSession& terminal() { return tmux_; }
    const std::string& lastScreen() const { return last_; }

    // Waits for the player's window with the cursor on "..".
    bool waitForWindow();
    // Walks from the listing on the screen (the root) along the absolute
    // `path` with Down and Enter; a file at its end is played.
    bool walkTo(const std::string& path);
    // Waits until the screen matches the regular expression.
    bool waitForScreen(const std::string& pattern);
    // Waits until simhost has ended; its exit code.
    bool waitForExit(int& exitCode);

    // `stty -a` just before simhost started and just after it ended.
    std::string settingsBefore() const;
    std::string settingsAfter() const;

private:
    std::string dir_;
    TmuxSession tmux_;
    std::string last_;
};

}  // namespace desktop

#endif
