#ifndef LIRVA_SIMHOST_APP_SCREEN_PAINTER_H
#define LIRVA_SIMHOST_APP_SCREEN_PAINTER_H

#include "erect.h"
#include "screen_grid.h"

class eWidget;

// The TV screen the toolkit lays widgets out on, in pixels.
constexpr int kTvWidth = 720;
constexpr int kTvHeight = 576;

// The remote-control keys as this host's terminal and scripts offer them.
extern const char* const kKeyHelp;

// Maps a rectangle in TV pixels to the cells of a cols x rows grid
// (col = x * cols / 720, row = y * rows / 576, edges rounded to the nearest
// cell boundary). A rectangle with a size is at least one cell wide and
// high, so small widgets never vanish.
CellRect toCells(const eRect& tvRect, int cols, int rows);

// Paints the screen with `top` as the window on it: every visible widget at
// its place in creation order (later ones over earlier ones), the window
// frame with its title, and the key help on the last row. The caller holds
// the widget tree lock.
ScreenGrid paintScreen(const eWidget& top, int cols, int rows);

#endif
