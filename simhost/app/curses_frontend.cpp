#include "curses_frontend.h"

// The wide-character interface of ncurses: file names are UTF-8.
#ifndef NCURSES_WIDECHAR
#define NCURSES_WIDECHAR 1
#endif
#include <curses.h>
#include <langinfo.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <clocale>
#include <cstring>
#include <cwchar>
#include <optional>

#include "screen_painter.h"

namespace {

volatile sig_atomic_t interruptions = 0;
struct termios savedTerminal;
bool haveSavedTerminal = false;

// Async-signal-safe: puts the terminal back without ncurses, for the
// second interruption, when the GUI thread may be stuck.
void restoreTerminalNow()
{
    static const char reset[] = "\033[0m\033[?25h\033[?1049l\r\n";
    if (haveSavedTerminal)
        tcsetattr(STDIN_FILENO, TCSANOW, &savedTerminal);
    ssize_t ignored = write(STDOUT_FILENO, reset, sizeof reset - 1);
    (void)ignored;
}

void onInterrupt(int sig)
{
    if (++interruptions >= 2) {
        restoreTerminalNow();
        signal(sig, SIG_DFL);
        raise(sig);
    }
}

enum Pair : short { redPair = 1, greenPair, yellowPair, bluePair };

std::optional<eRCKey> keyForInput(int ch)
{
    switch (ch) {
    case KEY_UP: return eRCKey::up;
    case KEY_DOWN: return eRCKey::down;
    case KEY_LEFT: return eRCKey::left;
    case KEY_RIGHT: return eRCKey::right;
    case KEY_PPAGE: return eRCKey::pageUp;
    case KEY_NPAGE: return eRCKey::pageDown;
    case '\n':
    case '\r':
    case KEY_ENTER: return eRCKey::ok;
    case 27: return eRCKey::exit;
    case 'r':
    case KEY_F(1): return eRCKey::red;
    case 'g':
    case KEY_F(2): return eRCKey::green;
    case 'y':
    case KEY_F(3): return eRCKey::yellow;
    case 'b':
    case KEY_F(4): return eRCKey::blue;
    default: return std::nullopt;
    }
}

short colourPair(CellColour c)
{
    if (!has_colors())
        return 0;
    switch (c) {
    case CellColour::red: return redPair;
    case CellColour::green: return greenPair;
    case CellColour::yellow: return yellowPair;
    case CellColour::blue: return bluePair;
    case CellColour::normal: break;
    }
    return 0;
}

attr_t cellAttributes(const Cell& cell)
{
    attr_t attr = !has_colors() && cell.colour != CellColour::normal ? A_BOLD : A_NORMAL;
    if (cell.reverse)
        attr |= A_REVERSE;
    if (cell.bold)
        attr |= A_BOLD;
    return attr;
}

// The character a cell shows: its own where the terminal's character set
// has it and it fills exactly one column (the grid is one code point per
// cell), '?' where not. Frames stay ASCII: line-drawing sets are unreliable
// across terminals and multiplexers.
wchar_t shownCharacter(char32_t ch, bool utf8Terminal)
{
    if (ch < 0x80)
        return static_cast<wchar_t>(ch);
    const wchar_t wide = static_cast<wchar_t>(ch);
    return utf8Terminal && wcwidth(wide) == 1 ? wide : L'?';
}

}  // namespace

CursesFrontend::CursesFrontend()
{
    haveSavedTerminal = tcgetattr(STDIN_FILENO, &savedTerminal) == 0;
    // The terminal's character set, for ncurses and wcwidth; only the
    // character type, so no other formatting follows the user's locale.
    std::setlocale(LC_CTYPE, "");
    utf8Terminal_ = std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
    initscr();
    cbreak();
    noecho();
    keypad(stdscr, TRUE);
    set_escdelay(25);  // Esc is the exit key: do not wait long for a sequence
    curs_set(0);
    if (has_colors()) {
        start_color();
        use_default_colors();
        init_pair(redPair, COLOR_WHITE, COLOR_RED);
        init_pair(greenPair, COLOR_BLACK, COLOR_GREEN);
        init_pair(yellowPair, COLOR_BLACK, COLOR_YELLOW);
        init_pair(bluePair, COLOR_WHITE, COLOR_BLUE);
    }
    struct sigaction sa { };
    sa.sa_handler = onInterrupt;  // no SA_RESTART: getch returns at once
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
}

CursesFrontend::~CursesFrontend()
{
    endwin();
    signal(SIGINT, SIG_DFL);
    signal(SIGTERM, SIG_DFL);
}

bool CursesFrontend::nextKey(eRCKey& key, int timeoutMs)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (interruptions > 0) {
            key = eRCKey::exit;
            return true;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            return false;
        timeout(static_cast<int>(left));
        const int ch = getch();
        if (ch == KEY_RESIZE) {
            clearok(stdscr, TRUE);
            eMainloop::instance().requestRepaint();
            return false;
        }
        if (const auto k = keyForInput(ch)) {
            key = *k;
            return true;
        }
    }
}

void CursesFrontend::paint(const eWidget& top)
{
    int rows = 0, cols = 0;
    getmaxyx(stdscr, rows, cols);
    const ScreenGrid grid = paintScreen(top, cols, rows);
    for (int row = 0; row < grid.rows(); ++row) {
        for (int col = 0; col < grid.cols(); ++col) {
            const Cell& cell = grid.at(col, row);
            const wchar_t text[2] = {shownCharacter(cell.ch, utf8Terminal_), L'\0'};
            cchar_t shown;
            setcchar(&shown, text, cellAttributes(cell), colourPair(cell.colour), nullptr);
            mvadd_wch(row, col, &shown);
        }
    }
    refresh();
}
