#ifndef LIRVA_TOOLS_STATUS_WINDOW_H
#define LIRVA_TOOLS_STATUS_WINDOW_H

#include <ewindow.h>

#include <string>

// A window that is never shown, holding the status widgets that the engine
// writes (the time labels and the progress bar) for a player without a
// screen. Sets the process-wide status widget pointers while it exists.
class StatusWindow {
public:
    StatusWindow();
    ~StatusWindow();
    StatusWindow(const StatusWindow&) = delete;
    StatusWindow& operator=(const StatusWindow&) = delete;

    // One line: total caption and value, elapsed caption and value, bar.
    // Any thread.
    std::string describe() const;

private:
    eWindow window_;
};

#endif
