#include "screen_painter.h"

#include <gtest/gtest.h>

#include "ebutton.h"
#include "elabel.h"
#include "elistbox.h"
#include "ewindow.h"
#include "widget_private.h"

namespace {

template <class Widget>
Widget* place(Widget* w, int x, int y, int width, int height)
{
    w->move(ePoint(x, y));
    w->resize(eSize(width, height));
    return w;
}

// The first row whose text holds `needle`, and the column where it starts;
// -1 for both when no row does.
std::pair<int, int> find(const ScreenGrid& g, const std::string& needle)
{
    for (int row = 0; row < g.rows(); ++row)
        if (const size_t col = g.rowText(row).find(needle); col != std::string::npos)
            return {row, static_cast<int>(col)};
    return {-1, -1};
}

// A window laid out like the player's, painted on a 90 x 36 terminal: the
// painter draws what the widgets hold, each clipped to its own box.
TEST(ScreenPainter, DrawsTheListLabelsAndKeysAsTheWidgetsHoldThem)
{
    eWindow window(1);
    window.cmove(ePoint(100, 75));
    window.cresize(eSize(510, 460));
    auto* list = place(new eListBox<eListBoxEntryText>(&window, nullptr, 1), 10, 10, 490, 300);
    for (const char* name : {"..", "/dir", "t\xc3\xbcne.flac", "a\x1b[2J.flac"})
        new eListBoxEntryText(list, name);
    auto* label = place(new eLabel(&window), 10, 320, 200, 30);
    label->setText("Elapsed Time : 00:07 and more text than the label holds");
    auto* stop = place(new eButton(&window), 150, 425, 100, 30);
    stop->setShortcut("blue");
    stop->setText("Stop");
    window.setFocus(list);
    window.show();
    internals(*list).setCurrentIndex(2);

    const ScreenGrid g = paintScreen(window, 90, 36);
    const auto cursor = find(g, "> t\xc3\xbcne.flac"), key = find(g, "[blue] Stop");
    ASSERT_TRUE(cursor.first >= 0 && key.first >= 0) << g.toText();
    EXPECT_TRUE(g.at(cursor.second + 2, cursor.first).reverse) << "the focused list's cursor row";
    EXPECT_GE(find(g, "  /dir").first, 0) << g.toText();
    EXPECT_GE(find(g, "  a?[2J.flac").first, 0) << "control characters are made harmless\n" << g.toText();
    EXPECT_EQ(g.at(key.second, key.first).colour, CellColour::blue);
    EXPECT_GE(find(g, "Elapsed Time : 00:07").first, 0) << g.toText();
    EXPECT_EQ(find(g, "label holds").first, -1) << "text runs past its label\n" << g.toText();
}

// A label that draws its own way: the painter goes through redrawWidget,
// so the text the label holds is not what the screen shows.
TEST(ScreenPainter, PaintsEachWidgetThroughItsRedrawWidget)
{
    struct Blank : eLabel {
        using eLabel::eLabel;
        int drawn = 0;
        void redrawWidget(ePainter*, const eRect& area) override
        {
            ++drawn;
            EXPECT_EQ(area, eRect(0, 0, 200, 30)) << "the whole widget, in its own coordinates";
        }
    };
    eWindow window(1);
    window.cresize(eSize(510, 460));
    auto* blank = place(new Blank(&window), 10, 10, 200, 30);
    blank->setText("hidden by its own drawing");
    place(new eLabel(&window), 10, 100, 200, 30)->setText("shown");
    window.show();

    const ScreenGrid g = paintScreen(window, 90, 36);
    EXPECT_EQ(blank->drawn, 1);
    EXPECT_EQ(find(g, "hidden").first, -1) << g.toText();
    EXPECT_GE(find(g, "shown").first, 0) << g.toText();
}

}  // namespace
