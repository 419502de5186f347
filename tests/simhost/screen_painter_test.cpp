#include "screen_painter.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "player_window_fixture.h"
#include "widget_private.h"

namespace {

constexpr int kCols = 90, kRows = 36;

// The first row whose text contains `needle`, or -1.
int rowWith(const ScreenGrid& g, const std::string& needle)
{
    for (int row = 0; row < g.rows(); ++row)
        if (g.rowText(row).find(needle) != std::string::npos)
            return row;
    return -1;
}

int colOf(const ScreenGrid& g, int row, const std::string& needle)
{
    return static_cast<int>(g.rowText(row).find(needle));
}

CellRect cellsOf(const eWidget& w, int cols = kCols, int rows = kRows)
{
    return toCells(internals(w).getAbsoluteRect(), cols, rows);
}

// Key colours, the cursor row, and the focus: reversed where it is.
TEST(ScreenPainter, ShowsKeyButtonsInTheirColoursAndTheCursorRowWithItsFocus)
{
    PlayerWindowLayout ui(5);
    internals(*ui.list).setCurrentIndex(2);
    ScreenGrid g = paintScreen(ui.window, kCols, kRows);
    EXPECT_EQ(g.rowText(kRows - 1), kKeyHelp);
    const int buttons = rowWith(g, "[red] Root"), cursor = rowWith(g, "> /dir2"), other = rowWith(g, "  /dir1");
    ASSERT_TRUE(buttons >= 0 && cursor >= 0 && other >= 0) << g.toText();
    EXPECT_EQ(g.at(colOf(g, buttons, "Root"), buttons).colour, CellColour::red);
    EXPECT_EQ(g.at(colOf(g, buttons, "Stop"), buttons).colour, CellColour::blue);
    EXPECT_EQ(rowWith(g, ">"), cursor) << "only one row is marked";
    EXPECT_TRUE(g.at(colOf(g, cursor, "/dir2"), cursor).reverse);
    EXPECT_FALSE(g.at(colOf(g, other, "/dir1"), other).reverse);
    EXPECT_FALSE(g.at(colOf(g, buttons, "Root"), buttons).reverse);

    ui.window.setFocus(ui.root);
    g = paintScreen(ui.window, kCols, kRows);
    EXPECT_EQ(rowWith(g, "> /dir2"), cursor);
    EXPECT_FALSE(g.at(colOf(g, cursor, "/dir2"), cursor).reverse);
    EXPECT_TRUE(g.at(colOf(g, buttons, "Root"), buttons).reverse);
}

TEST(ScreenPainter, LaterWidgetsCoverEarlierOnesAndHiddenOnesAreLeftOut)
{
    PlayerWindowLayout ui(30);
    ui.totalTime->setText("Total Time : 0123456789");
    ui.totalValue->setText("03:25");  // created later, starts inside the caption's text
    ui.line1->setText("line one");    // created after the list, over its lowest row

    ScreenGrid g = paintScreen(ui.window, kCols, kRows);
    const int captionCells = cellsOf(*ui.totalValue).left - cellsOf(*ui.totalTime).left;
    ASSERT_GT(captionCells, 12);
    EXPECT_GE(rowWith(g, std::string("Total Time : 0123456789").substr(0, captionCells) + "03:25"), 0) << g.toText();
    EXPECT_EQ(g.at(cellsOf(*ui.list).left, cellsOf(*ui.line1).top).ch, U'l') << "label over the list's lowest row";
    // The elapsed-time row, created later, lies over the buttons' top edge:
    // their names show on the row below it.
    const CellRect root = cellsOf(*ui.root);
    const int buttons = rowWith(g, "[red] Root");
    EXPECT_TRUE(buttons > root.top && buttons < root.bottom) << g.toText();

    ui.totalValue->hide();
    ui.line1->hide();
    g = paintScreen(ui.window, kCols, kRows);
    EXPECT_GE(rowWith(g, "Total Time : 0123456789"), 0) << g.toText();
    EXPECT_EQ(rowWith(g, "line one"), -1);
}

TEST(ScreenPainter, KeepsTheCursorInSightWhenFewerRowsThanAPageShow)
{
    PlayerWindowLayout ui(40);
    // A short terminal: the list shows fewer rows than its page holds.
    for (int index : {12, 14, 30, 39, 0}) {
        internals(*ui.list).setCurrentIndex(index);
        const ScreenGrid g = paintScreen(ui.window, 80, 20);
        const int row = rowWith(g, index == 0 ? "> .." : "> /dir" + std::to_string(index));
        const CellRect list = cellsOf(*ui.list, 80, 20);
        EXPECT_TRUE(row > list.top && row < list.bottom - 1) << "cursor " << index << "\n" << g.toText();
    }

    // A widget created later lies across the middle of the list: the cursor
    // row stays above it.
    ui.line1->move(ePoint(10, 150));
    ui.line1->setText("covering label");
    internals(*ui.list).setCurrentIndex(12);
    const ScreenGrid g = paintScreen(ui.window, kCols, kRows);
    const int row = rowWith(g, "> /dir12");
    EXPECT_TRUE(row >= 0 && row < cellsOf(*ui.line1).top) << g.toText();
}

TEST(ScreenPainter, DrawsTheProgressBarClampedWithItsNumber)
{
    PlayerWindowLayout ui;
    const CellRect bar = cellsOf(*ui.progress);
    const int cells = bar.width() - 5;  // the bar, a blank, "100%"
    const struct {
        int perc, filled;
        const char* number;
    } cases[] = {{50, cells / 2, " 50%"}, {250, cells, "100%"}, {-30, 0, "  0%"}};
    for (const auto& c : cases) {
        ui.progress->setPerc(c.perc);
        const std::string row = paintScreen(ui.window, kCols, kRows).rowText(bar.top);
        EXPECT_EQ(std::count(row.begin(), row.end(), '#'), c.filled) << row;
        EXPECT_EQ(std::count(row.begin(), row.end(), '.'), cells - c.filled) << row;
        EXPECT_NE(row.find(c.number), std::string::npos) << row;
    }
}

TEST(ScreenPainter, ClipsTextAtTheWidgetTheWindowAndTheScreen)
{
    PlayerWindowLayout ui;
    ui.root->setText("Root with a name far too long for the button");
    ui.elapsedValue->setText(std::string(200, 'x'));  // reaches past the window's right edge
    ScreenGrid g = paintScreen(ui.window, kCols, kRows);
    const CellRect root = cellsOf(*ui.root), stop = cellsOf(*ui.stop), frame = cellsOf(ui.window);
    const int names = rowWith(g, "[red] Root");  // the row where the button's text shows
    ASSERT_GE(names, 0) << g.toText();
    for (int col = root.right; col < stop.left; ++col)
        EXPECT_EQ(g.at(col, names).ch, U' ') << "column " << col << "\n" << g.toText();
    const int row = cellsOf(*ui.elapsedValue).top;
    EXPECT_EQ(g.at(frame.right - 1, row).ch, U'|') << "the window frame stays whole";
    EXPECT_EQ(g.at(frame.right, row).ch, U' ');

    // A window at the screen's right edge: the text stops at the last column
    // and does not run on into the next row.
    eWindow edge(1);
    edge.cmove(ePoint(600, 100));
    edge.cresize(eSize(300, 100));
    auto* label = new eLabel(&edge);
    label->resize(eSize(300, 30));
    label->setText("Caf\xc3\xa9\tcrème " + std::string(100, 'y'));
    edge.show();
    g = paintScreen(edge, kCols, kRows);
    const CellRect at = cellsOf(*label);
    EXPECT_EQ(g.rowText(at.top).find("Caf\xc3\xa9?cr\xc3\xa8me"), size_t(at.left))
        << "one cell per character, control characters made harmless\n"
        << g.toText();
    EXPECT_EQ(g.at(kCols - 1, at.top).ch, U'y');
    EXPECT_EQ(g.rowText(at.top + 1).find('y'), std::string::npos);

    // Pixels to cells: a tiny widget keeps a cell, one above the screen stays off it.
    const CellRect thin = toCells(eRect(100, 100, 2, 2), 90, 36), above = toCells(eRect(-20, -40, 10, 20), 90, 36);
    EXPECT_TRUE(thin.width() == 1 && thin.height() == 1);
    EXPECT_TRUE(above.bottom < 1 && above.right < 1);
}

}  // namespace
