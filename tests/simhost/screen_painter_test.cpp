#include "screen_painter.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "player_window_fixture.h"

namespace {

constexpr int kCols = 90, kRows = 36;

// The first row whose text contains `needle`, or -1.
int rowWith(const ScreenGrid& g, const std::string& needle) {
    for (int row = 0; row < g.rows(); ++row)
        if (g.rowText(row).find(needle) != std::string::npos) return row;
    return -1;
}

int colOf(const ScreenGrid& g, int row, const std::string& needle) {
    return static_cast<int>(g.rowText(row).find(needle));
}

CellRect cellsOf(const eWidget& w, int cols = kCols, int rows = kRows) {
    return toCells(w.getAbsoluteRect(), cols, rows);
}

TEST(ScreenPainter, ShowsThePlayerWindowWithTitleButtonsAndKeyHelp) {
    PlayerWindowLayout ui;
    const ScreenGrid g = paintScreen(ui.window, kCols, kRows);

    const CellRect frame = cellsOf(ui.window);
    const int titleRow = rowWith(g, "Lirva 0.0.2");
    ASSERT_EQ(titleRow, frame.top) << g.toText();
    EXPECT_TRUE(g.at(colOf(g, titleRow, "Lirva"), titleRow).bold);

    const int buttons = rowWith(g, "[red] Root");
    ASSERT_GE(buttons, 0) << g.toText();
    // The elapsed-time row, created later, lies over the buttons' top edge:
    // their names show on the row below it.
    const CellRect root = cellsOf(*ui.root);
    EXPECT_GT(buttons, root.top);
    EXPECT_LT(buttons, root.bottom);
    EXPECT_NE(g.rowText(buttons).find("[blue] Stop"), std::string::npos);
    EXPECT_EQ(g.at(colOf(g, buttons, "Root"), buttons).colour, CellColour::red);
    EXPECT_EQ(g.at(colOf(g, buttons, "Stop"), buttons).colour, CellColour::blue);

    EXPECT_EQ(g.rowText(kRows - 1), kKeyHelp);
    EXPECT_GE(rowWith(g, "> .."), 0);
    EXPECT_GE(rowWith(g, "  /dir2"), 0);
}

TEST(ScreenPainter, LaterWidgetsCoverEarlierOnesAndHiddenOnesAreLeftOut) {
    PlayerWindowLayout ui(30);
    ui.totalTime->setText("Total Time : 0123456789");
    ui.totalValue->setText("03:25");   // created later, starts inside the caption's text
    ui.line1->setText("line one");     // created after the list, over its lowest row

    ScreenGrid g = paintScreen(ui.window, kCols, kRows);
    const int captionCells = cellsOf(*ui.totalValue).left - cellsOf(*ui.totalTime).left;
    ASSERT_GT(captionCells, 12);
    EXPECT_GE(rowWith(g, std::string("Total Time : 0123456789").substr(0, captionCells) + "03:25"), 0) << g.toText();
    const int line1Row = cellsOf(*ui.line1).top;
    const int listLeft = cellsOf(*ui.list).left;
    EXPECT_EQ(g.at(listLeft, line1Row).ch, U'l') << "the label must be drawn over the list's lowest row";

    ui.totalValue->hide();
    ui.line1->hide();
    g = paintScreen(ui.window, kCols, kRows);
    EXPECT_GE(rowWith(g, "Total Time : 0123456789"), 0) << g.toText();
    EXPECT_EQ(rowWith(g, "line one"), -1);
}

TEST(ScreenPainter, MarksTheCursorRowAndReversesItOnlyWithFocus) {
    PlayerWindowLayout ui(5);
    ui.list->setCurrentIndex(2);
    ScreenGrid g = paintScreen(ui.window, kCols, kRows);
    const int cursor = rowWith(g, "> /dir2");
    const int other = rowWith(g, "  /dir1");
    ASSERT_GE(cursor, 0) << g.toText();
    ASSERT_GE(other, 0);
    EXPECT_EQ(rowWith(g, ">"), cursor) << "only one row is marked";
    EXPECT_TRUE(g.at(colOf(g, cursor, "/dir2"), cursor).reverse);
    EXPECT_FALSE(g.at(colOf(g, other, "/dir1"), other).reverse);

    ui.window.setFocus(ui.root);
    g = paintScreen(ui.window, kCols, kRows);
    EXPECT_FALSE(g.at(colOf(g, cursor, "/dir2"), cursor).reverse);
    EXPECT_EQ(rowWith(g, "> /dir2"), cursor);
    const int buttons = rowWith(g, "Root");
    EXPECT_TRUE(g.at(colOf(g, buttons, "Root"), buttons).reverse);
}

TEST(ScreenPainter, KeepsTheCursorInSightWhenFewerRowsThanAPageShow) {
    PlayerWindowLayout ui(40);
    // A short terminal: the list shows fewer rows than its page holds.
    for (int index : {12, 14, 30, 39, 0}) {
        ui.list->setCurrentIndex(index);
        const ScreenGrid g = paintScreen(ui.window, 80, 20);
        const std::string expected = index == 0 ? "> .." : "> /dir" + std::to_string(index);
        const int row = rowWith(g, expected);
        ASSERT_GE(row, 0) << "cursor " << index << "\n" << g.toText();
        const CellRect list = cellsOf(*ui.list, 80, 20);
        EXPECT_GT(row, list.top);
        EXPECT_LT(row, list.bottom - 1);
    }

    // A widget created later lies across the middle of the list: the cursor
    // row stays above it.
    ui.line1->move(ePoint(10, 150));
    ui.line1->setText("covering label");
    ui.list->setCurrentIndex(12);
    const ScreenGrid g = paintScreen(ui.window, kCols, kRows);
    const int row = rowWith(g, "> /dir12");
    ASSERT_GE(row, 0) << g.toText();
    EXPECT_LT(row, cellsOf(*ui.line1).top);
}

TEST(ScreenPainter, DrawsTheProgressBarClampedWithItsNumber) {
    PlayerWindowLayout ui;
    const CellRect bar = cellsOf(*ui.progress);
    const int barCells = bar.width() - 5;
    const auto hashes = [&](const ScreenGrid& g) {
        const std::string row = g.rowText(bar.top);
        return std::count(row.begin(), row.end(), '#');
    };

    ui.progress->setPerc(50);
    ScreenGrid g = paintScreen(ui.window, kCols, kRows);
    EXPECT_EQ(hashes(g), barCells / 2);
    EXPECT_NE(g.rowText(bar.top).find(" 50%"), std::string::npos) << g.toText();

    ui.progress->setPerc(250);
    g = paintScreen(ui.window, kCols, kRows);
    EXPECT_EQ(hashes(g), barCells);
    EXPECT_NE(g.rowText(bar.top).find("100%"), std::string::npos);

    ui.progress->setPerc(-30);
    g = paintScreen(ui.window, kCols, kRows);
    EXPECT_EQ(hashes(g), 0);
    EXPECT_NE(g.rowText(bar.top).find("  0%"), std::string::npos);
    const std::string row = g.rowText(bar.top);
    EXPECT_EQ(std::count(row.begin(), row.end(), '.'), barCells);
}

TEST(ScreenPainter, ClipsTextAtTheWidgetTheWindowAndTheScreen) {
    PlayerWindowLayout ui;
    ui.root->setText("Root with a name far too long for the button");
    ui.elapsedValue->setText(std::string(200, 'x'));   // reaches past the window's right edge

    ScreenGrid g = paintScreen(ui.window, kCols, kRows);
    const CellRect root = cellsOf(*ui.root), stop = cellsOf(*ui.stop);
    for (int col = root.right; col < stop.left; ++col)
        EXPECT_EQ(g.at(col, root.top).ch, U' ') << "column " << col << "\n" << g.toText();

    const CellRect frame = cellsOf(ui.window);
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
    const int labelRow = cellsOf(*label).top;
    const int start = cellsOf(*label).left;
    EXPECT_EQ(g.rowText(labelRow).find("Caf\xc3\xa9?cr\xc3\xa8me"), size_t(start))
        << "one cell per character, control characters made harmless\n" << g.toText();
    EXPECT_EQ(g.at(kCols - 1, labelRow).ch, U'y');
    EXPECT_EQ(g.rowText(labelRow + 1).find('y'), std::string::npos);
}

TEST(ScreenPainter, MapsPixelsToCellsWithoutLosingSmallOrOffScreenWidgets) {
    EXPECT_EQ(toCells(eRect(0, 0, 720, 576), 90, 36).width(), 90);
    EXPECT_EQ(toCells(eRect(0, 0, 720, 576), 90, 36).height(), 36);
    const CellRect thin = toCells(eRect(100, 100, 2, 2), 90, 36);
    EXPECT_EQ(thin.width(), 1);
    EXPECT_EQ(thin.height(), 1);
    const CellRect above = toCells(eRect(-20, -40, 10, 20), 90, 36);
    EXPECT_LT(above.bottom, 1);
    EXPECT_LT(above.right, 1);
}

}  // namespace
