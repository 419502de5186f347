#include "screen_painter.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "elabel.h"
#include "elistbox.h"
#include "eprogress.h"
#include "ewidget.h"
#include "ewidget_event.h"
#include "widget_private.h"

const char* const kKeyHelp = "arrows move  PgUp/Dn page  Enter OK  Esc exit  F1/r Root  F2/g Next  F3/y Pause  F4/b Stop";

namespace {

CellColour colourNamed(const eString& name)
{
    if (name == "red")
        return CellColour::red;
    if (name == "green")
        return CellColour::green;
    if (name == "yellow")
        return CellColour::yellow;
    if (name == "blue")
        return CellColour::blue;
    return CellColour::normal;
}

// The widgets paint themselves through their eraseBackground() and
// redrawWidget(), which call back here; a window's redrawWidget() asks for
// its frame, every other widget's for its content.
class Painter : public ePainter {
public:
    Painter(ScreenGrid& grid) : grid_(grid) { }

    void widget(const eWidget& w, const CellRect& clip, const std::vector<CellRect>& coveredLater)
    {
        cells_ = toCells(internals(w).getAbsoluteRect(), grid_.cols(), grid_.rows());
        clip_ = clip;
        coveredLater_ = &coveredLater;
        inside_ = cells_.intersect(clip);
        internals(w).paint(*this);
        const CellRect inside = inside_;  // the children paint over these members
        children(w, inside);
    }

    void clear(const eWidget& w, const eRect&) override { grid_.fill(cells_, background(w), clip_); }

    void drawFrame(const eWidget& w, const eRect&) override { inside_ = window(w, cells_, clip_); }

    void drawContent(const eWidget& w, const eRect&) override
    {
        switch (internals(w).kind()) {
        case eWidgetKind::label:
        case eWidgetKind::button: label(static_cast<const eLabel&>(w), cells_, clip_, *coveredLater_); break;
        case eWidgetKind::progress:
            progress(static_cast<const eProgress&>(w), cells_, clip_, *coveredLater_);
            break;
        case eWidgetKind::listbox: list(static_cast<const eListBoxBase&>(w), cells_, clip_, *coveredLater_); break;
        case eWidgetKind::window:
        case eWidgetKind::widget: break;
        }
    }

private:
    // A colour key colours its label or button.
    static CellStyle background(const eWidget& w)
    {
        eString key = internals(w).getShortcutPixmap();
        if (key.empty())
            key = internals(w).getShortcut();
        CellStyle style;
        style.colour = colourNamed(key);
        style.reverse = internals(w).hasFocus() && internals(w).kind() == eWidgetKind::button;
        return style;
    }

    // Draws the visible children in creation order; each one learns which
    // cells its later siblings will cover.
    void children(const eWidget& parent, const CellRect& clip)
    {
        std::vector<const eWidget*> shown;
        for (const eWidget* child : internals(parent).getChildren())
            if (child && internals(*child).isVisible())
                shown.push_back(child);
        for (size_t i = 0; i < shown.size(); ++i) {
            std::vector<CellRect> later;
            for (size_t j = i + 1; j < shown.size(); ++j)
                later.push_back(
                    toCells(internals(*shown[j]).getAbsoluteRect(), grid_.cols(), grid_.rows()).intersect(clip));
            widget(*shown[i], clip, later);
        }
    }

    // A frame around the client area with the title in its top edge; returns
    // the client area, where the children go. The frame lies in the cells
    // next to the client area, since a border of a few pixels would
    // otherwise take a whole row of children's cells.
    CellRect window(const eWidget& w, const CellRect& outer, const CellRect& clip)
    {
        const eRect abs = internals(w).getAbsoluteRect(), client = internals(w).getClientRect();
        const CellRect inside =
            toCells(eRect(abs.left() + client.left(), abs.top() + client.top(), client.width(), client.height()),
                    grid_.cols(), grid_.rows());
        const CellRect cells{inside.left - 1, std::min(outer.top, inside.top - 1), inside.right + 1, inside.bottom + 1};
        grid_.fill(cells, {}, clip);  // the frame reaches past the widget's own cells
        grid_.box(cells, {}, clip);
        const eString title = internals(w).getText();
        if (!title.empty()) {
            const CellRect titleClip =
                CellRect{cells.left + 1, cells.top, cells.right - 1, cells.top + 1}.intersect(clip);
            CellStyle bold;
            bold.bold = true;
            grid_.text(cells.left + 2, cells.top, " " + title + " ", bold, titleClip);
        }
        return inside.intersect(clip);
    }

    // Labels and buttons: an opaque box with the text on its first row that
    // no later widget covers (a button partly under the next label still
    // shows its name). A
    // colour key is shown as "[red] " before the text and colours the widget.
    void label(const eLabel& l, const CellRect& cells, const CellRect& clip, const std::vector<CellRect>& coveredLater)
    {
        const CellRect area = cells.intersect(clip);
        eString key = internals(l).getShortcutPixmap();
        if (key.empty())
            key = internals(l).getShortcut();
        const CellStyle style = background(l);
        CellRect textArea = cells;
        if (internals(l).hasDeco() && cells.height() >= 3) {
            grid_.box(cells, style, clip);
            textArea = {cells.left + 1, cells.top + 1, cells.right - 1, cells.bottom - 1};
        }
        const eString text = key.empty() ? internals(l).getText() : eString("[" + key + "] " + internals(l).getText());
        grid_.text(textArea.left, firstVisibleRow(textArea, coveredLater), text, style, textArea.intersect(area));
    }

    // "#####.....  42%": the bar and the number, clamped to 0..100, on the
    // first row no later widget covers.
    void progress(const eProgress& p, const CellRect& cells, const CellRect& clip,
                  const std::vector<CellRect>& coveredLater)
    {
        const int perc = std::clamp(internals(p).getPerc(), 0, 100);
        char number[8];
        std::snprintf(number, sizeof number, "%3d%%", perc);
        const int barWidth = cells.width() - 5;  // bar, a blank, "100%"
        std::string line;
        if (barWidth > 0) {
            const int filled = perc * barWidth / 100;
            line.append(filled, '#').append(barWidth - filled, '.').append(" ");
        }
        line += number;
        grid_.text(cells.left, firstVisibleRow(cells, coveredLater), line, {}, cells.intersect(clip));
    }

    // The rows from the list's top entry, the cursor row marked with '>'
    // (and reversed while the list has the focus). When fewer rows can be
    // seen than the list's page holds, the rows scroll so that the cursor
    // stays in sight.
    void list(const eListBoxBase& l, const CellRect& cells, const CellRect& clip,
              const std::vector<CellRect>& coveredLater)
    {
        CellRect inner = cells;
        if (internals(l).hasDeco() && cells.height() >= 3) {
            grid_.box(cells, {}, clip);
            inner = {cells.left + 1, cells.top + 1, cells.right - 1, cells.bottom - 1};
        }
        inner = inner.intersect(clip);
        const int rows = unobscuredRows(inner, coveredLater);
        const int page = internals(l).getPageSize();
        const int shown = page > 0 ? std::min(rows, page) : rows;
        if (shown <= 0)
            return;

        const int count = internals(l).getCount();
        const int cursor = internals(l).getCurrentIndex();
        int first = std::max(internals(l).getTop(), 0);
        if (cursor >= 0 && cursor < count) {
            if (cursor < first)
                first = cursor;
            if (cursor >= first + shown)
                first = cursor - shown + 1;
        }
        for (int i = 0; i < shown && first + i < count; ++i) {
            eListBoxEntryText* entry = internals(l).entryAt(first + i);
            if (!entry)
                break;
            const bool isCursor = first + i == cursor;
            CellStyle style;
            style.reverse = isCursor && internals(l).hasFocus();
            const int row = inner.top + i;
            const CellRect rowArea{inner.left, row, inner.right, row + 1};
            grid_.fill(rowArea, style, rowArea);
            grid_.text(inner.left, row, (isCursor ? "> " : "  ") + entry->getText(), style, rowArea);
        }
    }

    // The first row of `area` whose first cell no later widget covers: where
    // a widget's one line of text can be seen. The top row when all are covered.
    static int firstVisibleRow(const CellRect& area, const std::vector<CellRect>& coveredLater)
    {
        for (int row = area.top; row < area.bottom; ++row) {
            bool covered = false;
            for (const CellRect& c : coveredLater)
                covered = covered || c.contains(area.left, row);
            if (!covered)
                return row;
        }
        return area.top;
    }

    // How many rows from the top of `area` no later widget covers.
    static int unobscuredRows(const CellRect& area, const std::vector<CellRect>& coveredLater)
    {
        int rows = 0;
        for (int row = area.top; row < area.bottom; ++row, ++rows) {
            const CellRect line{area.left, row, area.right, row + 1};
            for (const CellRect& c : coveredLater)
                if (!c.intersect(line).empty())
                    return rows;
        }
        return rows;
    }

    ScreenGrid& grid_;
    // The widget being painted: its cells, its clip and what later widgets cover.
    CellRect cells_{}, clip_{}, inside_{};
    const std::vector<CellRect>* coveredLater_ = nullptr;
};

}  // namespace

namespace {

// A cell belongs to the widget that covers the cell's centre: edges are
// rounded to the nearest cell boundary, so a few pixels of overlap between
// neighbouring widgets do not cost a whole row. 64-bit so that far-off
// positions cannot overflow; floor division keeps off-screen widgets off.
int scaleRound(long long pixels, int cells, int pixelsPerScreen)
{
    const long long num = 2 * pixels * cells + pixelsPerScreen, den = 2LL * pixelsPerScreen;
    long long q = num / den;
    if (num % den != 0 && num < 0)
        --q;
    return static_cast<int>(q);
}

}  // namespace

CellRect toCells(const eRect& r, int cols, int rows)
{
    CellRect c{scaleRound(r.left(), cols, kTvWidth), scaleRound(r.top(), rows, kTvHeight),
               scaleRound(r.right(), cols, kTvWidth), scaleRound(r.bottom(), rows, kTvHeight)};
    if (r.width() > 0 && c.right <= c.left)
        c.right = c.left + 1;
    if (r.height() > 0 && c.bottom <= c.top)
        c.bottom = c.top + 1;
    if (c.right < c.left)
        c.right = c.left;
    if (c.bottom < c.top)
        c.bottom = c.top;
    return c;
}

ScreenGrid paintScreen(const eWidget& top, int cols, int rows)
{
    ScreenGrid grid(cols, rows);
    if (grid.cols() == 0 || grid.rows() == 0)
        return grid;
    const CellRect tvArea = grid.bounds();
    if (internals(top).isVisible())
        Painter(grid).widget(top, tvArea, {});
    const CellRect helpRow{0, rows - 1, cols, rows};
    grid.fill(helpRow, {}, helpRow);
    grid.text(0, rows - 1, kKeyHelp, {}, helpRow);
    return grid;
}
