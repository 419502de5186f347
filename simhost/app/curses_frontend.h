#ifndef LIRVA_SIMHOST_APP_CURSES_FRONTEND_H
#define LIRVA_SIMHOST_APP_CURSES_FRONTEND_H

#include "emainloop.h"

// The terminal as the TV and the keyboard as the remote control. The screen
// is painted to the terminal's current size, text in the terminal's own
// character set (UTF-8 names show as themselves in a UTF-8 locale). The terminal is restored when
// the frontend is destroyed; the first SIGINT or SIGTERM presses exit (the
// window closes as if the user left it), a second one restores the terminal
// and ends the program at once.
class CursesFrontend : public eFrontend {
public:
    CursesFrontend();
    ~CursesFrontend() override;
    CursesFrontend(const CursesFrontend&) = delete;
    CursesFrontend& operator=(const CursesFrontend&) = delete;

    bool nextKey(eRCKey& key, int timeoutMs) override;
    void paint(const eWidget& top) override;

private:
    bool utf8Terminal_ = false;  // the locale's character set is UTF-8
};

#endif
