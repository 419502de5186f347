#ifndef LIRVA_SIMHOST_APP_SCREEN_GRID_H
#define LIRVA_SIMHOST_APP_SCREEN_GRID_H

#include <cstdint>
#include <string>
#include <vector>

// The colours a cell can have: the remote control's four keys, or none.
enum class CellColour : std::uint8_t { normal, red, green, yellow, blue };

// One character cell of the painted screen. Text is kept as one Unicode
// code point per cell so that clipping never splits a UTF-8 sequence.
struct Cell {
    char32_t ch = U' ';
    CellColour colour = CellColour::normal;
    bool reverse = false;  // cursor row, focused button
    bool bold = false;     // window title
    bool frame = false;    // part of a box: a terminal may draw it as a line

    bool operator==(const Cell& o) const
    {
        return ch == o.ch && colour == o.colour && reverse == o.reverse && bold == o.bold && frame == o.frame;
    }
    bool operator!=(const Cell& o) const { return !(*this == o); }
};

// A rectangle of cells; right and bottom are one past the last column/row.
struct CellRect {
    int left = 0, top = 0, right = 0, bottom = 0;

    int width() const { return right > left ? right - left : 0; }
    int height() const { return bottom > top ? bottom - top : 0; }
    bool empty() const { return width() == 0 || height() == 0; }
    bool contains(int col, int row) const { return col >= left && col < right && row >= top && row < bottom; }
    CellRect intersect(const CellRect& o) const;
};

// How text is drawn: the attributes given to every cell it covers.
struct CellStyle {
    CellColour colour = CellColour::normal;
    bool reverse = false;
    bool bold = false;
};

// A grid of cols x rows cells, blank at first. Every write is clipped to the
// grid and to the clip rectangle the caller gives.
class ScreenGrid {
public:
    ScreenGrid(int cols, int rows);

    int cols() const { return cols_; }
    int rows() const { return rows_; }
    CellRect bounds() const { return {0, 0, cols_, rows_}; }

    const Cell& at(int col, int row) const;  // precondition: inside the grid

    // Sets one cell if it lies inside `clip` and the grid.
    void set(int col, int row, const Cell& cell, const CellRect& clip);
    // Fills the cells of `area` (clipped) with blanks of the given style.
    void fill(const CellRect& area, const CellStyle& style, const CellRect& clip);
    // Writes UTF-8 text from (col, row) rightwards, one code point per cell;
    // returns the column after the last cell written or skipped.
    int text(int col, int row, const std::string& utf8, const CellStyle& style, const CellRect& clip);
    // Draws the outline of `box` with '+', '-' and '|' cells marked as frame.
    void box(const CellRect& box, const CellStyle& style, const CellRect& clip);

    // One row as UTF-8 with trailing blanks removed.
    std::string rowText(int row) const;
    // All rows, each ended by a newline.
    std::string toText() const;

private:
    int cols_, rows_;
    std::vector<Cell> cells_;
};

// Splits UTF-8 into code points for display: malformed bytes become U+FFFD,
// control characters become '?', so nothing moves a terminal's cursor.
std::u32string displayCodePoints(const std::string& utf8);

// Appends the UTF-8 encoding of `cp` to `out`.
void appendUtf8(std::string& out, char32_t cp);

#endif
