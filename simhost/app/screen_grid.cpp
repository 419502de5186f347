#include "screen_grid.h"

#include <algorithm>

CellRect CellRect::intersect(const CellRect& o) const
{
    CellRect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom)};
    if (r.right < r.left)
        r.right = r.left;
    if (r.bottom < r.top)
        r.bottom = r.top;
    return r;
}

ScreenGrid::ScreenGrid(int cols, int rows)
    : cols_(std::max(cols, 0)), rows_(std::max(rows, 0)), cells_(static_cast<size_t>(cols_) * rows_)
{ }

const Cell& ScreenGrid::at(int col, int row) const
{
    return cells_[static_cast<size_t>(row) * cols_ + col];
}

void ScreenGrid::set(int col, int row, const Cell& cell, const CellRect& clip)
{
    if (!bounds().contains(col, row) || !clip.contains(col, row))
        return;
    cells_[static_cast<size_t>(row) * cols_ + col] = cell;
}

void ScreenGrid::fill(const CellRect& area, const CellStyle& style, const CellRect& clip)
{
    const CellRect r = area.intersect(clip).intersect(bounds());
    Cell blank;
    blank.colour = style.colour;
    blank.reverse = style.reverse;
    blank.bold = style.bold;
    for (int row = r.top; row < r.bottom; ++row)
        for (int col = r.left; col < r.right; ++col)
            cells_[static_cast<size_t>(row) * cols_ + col] = blank;
}

int ScreenGrid::text(int col, int row, const std::string& utf8, const CellStyle& style, const CellRect& clip)
{
    Cell cell;
    cell.colour = style.colour;
    cell.reverse = style.reverse;
    cell.bold = style.bold;
    for (char32_t cp : displayCodePoints(utf8)) {
        if (col >= clip.right || col >= cols_)
            break;  // the rest is clipped
        cell.ch = cp;
        set(col, row, cell, clip);
        ++col;
    }
    return col;
}

void ScreenGrid::box(const CellRect& b, const CellStyle& style, const CellRect& clip)
{
    if (b.empty())
        return;
    Cell cell;
    cell.colour = style.colour;
    cell.reverse = style.reverse;
    cell.bold = style.bold;
    cell.frame = true;
    const int lastCol = b.right - 1, lastRow = b.bottom - 1;
    for (int col = b.left; col <= lastCol; ++col) {
        cell.ch = (col == b.left || col == lastCol) ? U'+' : U'-';
        set(col, b.top, cell, clip);
        set(col, lastRow, cell, clip);
    }
    cell.ch = U'|';
    for (int row = b.top + 1; row < lastRow; ++row) {
        set(b.left, row, cell, clip);
        set(lastCol, row, cell, clip);
    }
}

std::string ScreenGrid::rowText(int row) const
{
    std::string out;
    int end = cols_;
    while (end > 0 && at(end - 1, row).ch == U' ')
        --end;
    for (int col = 0; col < end; ++col)
        appendUtf8(out, at(col, row).ch);
    return out;
}

std::string ScreenGrid::toText() const
{
    std::string out;
    for (int row = 0; row < rows_; ++row) {
        out += rowText(row);
        out += '\n';
    }
    return out;
}

std::u32string displayCodePoints(const std::string& utf8)
{
    std::u32string out;
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(utf8[i]); };
    for (size_t i = 0; i < utf8.size();) {
        const unsigned char b = byte(i);
        int extra = 0;
        char32_t cp = 0, min = 0;
        if (b < 0x80) {
            cp = b;
        } else if ((b & 0xE0) == 0xC0) {
            extra = 1, cp = b & 0x1F, min = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            extra = 2, cp = b & 0x0F, min = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            extra = 3, cp = b & 0x07, min = 0x10000;
        } else {
            out += U'\uFFFD';
            ++i;
            continue;
        }
        size_t j = i + 1;
        for (; j < utf8.size() && j <= i + extra && (byte(j) & 0xC0) == 0x80; ++j)
            cp = (cp << 6) | (byte(j) & 0x3F);
        if (j != i + 1 + extra || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out += U'\uFFFD';  // truncated, overlong or not a scalar value
            i = j > i + 1 ? j : i + 1;
            continue;
        }
        if (cp < 0x20 || cp == 0x7F || (cp >= 0x80 && cp < 0xA0))
            cp = U'?';
        out += cp;
        i = j;
    }
    return out;
}

void appendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}
