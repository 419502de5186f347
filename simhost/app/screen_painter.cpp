#include "screen_painter.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "elabel.h"
#include "elistbox.h"
#include "eprogress.h"
#include "ewidget.h"

const char* const kKeyHelp = "arrows move  PgUp/PgDn page  Enter OK  Esc exit  F1/r red: Root  F4/b blue: Stop";

namespace {

CellColour colourNamed(const eString& name) {
    if (name == "red") return CellColour::red;
    if (name == "green") return CellColour::green;
    if (name == "yellow") return CellColour::yellow;
    if (name == "blue") return CellColour::blue;
    return CellColour::normal;
}

class Painter {
public:
    Painter(ScreenGrid& grid) : grid_(grid) {}

    void widget(const eWidget& w, const CellRect& clip, const std::vector<CellRect>& coveredLater) {
        const CellRect cells = toCells(w.getAbsoluteRect(), grid_.cols(), grid_.rows());
        CellRect inside = cells.intersect(clip);
        switch (w.kind()) {
        case eWidgetKind::window: inside = window(w, cells, clip); break;
        case eWidgetKind::label:
        case eWidgetKind::button: label(static_cast<const eLabel&>(w), cells, clip); break;
        case eWidgetKind::progress: progress(static_cast<const eProgress&>(w), cells, clip); break;
        case eWidgetKind::listbox: list(static_cast<const eListBoxBase&>(w), cells, clip, coveredLater); break;
        case eWidgetKind::widget: break;
        }
        children(w, inside);
    }

private:
    // Draws the visible children in creation order; each one learns which
    // cells its later siblings will cover.
    void children(const eWidget& parent, const CellRect& clip) {
        std::vector<const eWidget*> shown;
        for (const eWidget* child : parent.getChildren())
            if (child && child->isVisible()) shown.push_back(child);
        for (size_t i = 0; i < shown.size(); ++i) {
            std::vector<CellRect> later;
            for (size_t j = i + 1; j < shown.size(); ++j)
                later.push_back(toCells(shown[j]->getAbsoluteRect(), grid_.cols(), grid_.rows()).intersect(clip));
            widget(*shown[i], clip, later);
        }
    }

    // Frame with the title in its top edge; returns the area for children.
    CellRect window(const eWidget& w, const CellRect& cells, const CellRect& clip) {
        grid_.fill(cells, {}, clip);
        grid_.box(cells, {}, clip);
        const CellRect inside{cells.left + 1, cells.top + 1, cells.right - 1, cells.bottom - 1};
        const eString title = w.getText();
        if (!title.empty()) {
            const CellRect titleClip = CellRect{cells.left + 1, cells.top, cells.right - 1, cells.top + 1}.intersect(clip);
            CellStyle bold;
            bold.bold = true;
            grid_.text(cells.left + 2, cells.top, " " + title + " ", bold, titleClip);
        }
        return inside.intersect(clip);
    }

    // Labels and buttons: an opaque box with the text on its first row. A
    // colour key is shown as "[red] " before the text and colours the widget.
    void label(const eLabel& l, const CellRect& cells, const CellRect& clip) {
        const CellRect area = cells.intersect(clip);
        eString key = l.getShortcutPixmap();
        if (key.empty()) key = l.getShortcut();
        CellStyle style;
        style.colour = colourNamed(key);
        style.reverse = l.hasFocus() && l.kind() == eWidgetKind::button;
        grid_.fill(cells, style, clip);
        CellRect textArea = cells;
        if (l.hasDeco() && cells.height() >= 3) {
            grid_.box(cells, style, clip);
            textArea = {cells.left + 1, cells.top + 1, cells.right - 1, cells.bottom - 1};
        }
        const eString text = key.empty() ? l.getText() : eString("[" + key + "] " + l.getText());
        grid_.text(textArea.left, textArea.top, text, style, textArea.intersect(area));
    }

    // "#####.....  42%": the bar and the number, clamped to 0..100.
    void progress(const eProgress& p, const CellRect& cells, const CellRect& clip) {
        grid_.fill(cells, {}, clip);
        const int perc = std::clamp(p.getPerc(), 0, 100);
        char number[8];
        std::snprintf(number, sizeof number, "%3d%%", perc);
        const int barWidth = cells.width() - 5;   // bar, a blank, "100%"
        std::string line;
        if (barWidth > 0) {
            const int filled = perc * barWidth / 100;
            line.append(filled, '#').append(barWidth - filled, '.').append(" ");
        }
        line += number;
        grid_.text(cells.left, cells.top, line, {}, cells.intersect(clip));
    }

    // The rows from the list's top entry, the cursor row marked with '>'
    // (and reversed while the list has the focus). When fewer rows can be
    // seen than the list's page holds, the rows scroll so that the cursor
    // stays in sight.
    void list(const eListBoxBase& l, const CellRect& cells, const CellRect& clip,
              const std::vector<CellRect>& coveredLater) {
        grid_.fill(cells, {}, clip);
        CellRect inner = cells;
        if (l.hasDeco() && cells.height() >= 3) {
            grid_.box(cells, {}, clip);
            inner = {cells.left + 1, cells.top + 1, cells.right - 1, cells.bottom - 1};
        }
        inner = inner.intersect(clip);
        const int rows = unobscuredRows(inner, coveredLater);
        const int page = l.getPageSize();
        const int shown = page > 0 ? std::min(rows, page) : rows;
        if (shown <= 0) return;

        const int count = l.getCount();
        const int cursor = l.getCurrentIndex();
        int first = std::max(l.getTop(), 0);
        if (cursor >= 0 && cursor < count) {
            if (cursor < first) first = cursor;
            if (cursor >= first + shown) first = cursor - shown + 1;
        }
        for (int i = 0; i < shown && first + i < count; ++i) {
            const eListBoxEntry* entry = l.entryAt(first + i);
            if (!entry) break;
            const bool isCursor = first + i == cursor;
            CellStyle style;
            style.reverse = isCursor && l.hasFocus();
            const int row = inner.top + i;
            const CellRect rowArea{inner.left, row, inner.right, row + 1};
            grid_.fill(rowArea, style, rowArea);
            grid_.text(inner.left, row, (isCursor ? "> " : "  ") + entry->getText(), style, rowArea);
        }
    }

    // How many rows from the top of `area` no later widget covers.
    static int unobscuredRows(const CellRect& area, const std::vector<CellRect>& coveredLater) {
        int rows = 0;
        for (int row = area.top; row < area.bottom; ++row, ++rows) {
            const CellRect line{area.left, row, area.right, row + 1};
            for (const CellRect& c : coveredLater)
                if (!c.intersect(line).empty()) return rows;
        }
        return rows;
    }

    ScreenGrid& grid_;
};

}  // namespace

namespace {

// Rounds toward minus infinity, so that widgets left of or above the screen
// stay off it; 64-bit so that far-off positions cannot overflow.
int scaleFloor(long long pixels, int cells, int pixelsPerScreen) {
    const long long product = pixels * cells;
    long long q = product / pixelsPerScreen;
    if (product % pixelsPerScreen != 0 && product < 0) --q;
    return static_cast<int>(q);
}

}  // namespace

CellRect toCells(const eRect& r, int cols, int rows) {
    CellRect c{scaleFloor(r.left(), cols, kTvWidth), scaleFloor(r.top(), rows, kTvHeight),
               scaleFloor(r.right(), cols, kTvWidth), scaleFloor(r.bottom(), rows, kTvHeight)};
    if (r.width() > 0 && c.right <= c.left) c.right = c.left + 1;
    if (r.height() > 0 && c.bottom <= c.top) c.bottom = c.top + 1;
    if (c.right < c.left) c.right = c.left;
    if (c.bottom < c.top) c.bottom = c.top;
    return c;
}

ScreenGrid paintScreen(const eWidget& top, int cols, int rows) {
    ScreenGrid grid(cols, rows);
    if (grid.cols() == 0 || grid.rows() == 0) return grid;
    const CellRect tvArea = grid.bounds();
    if (top.isVisible()) Painter(grid).widget(top, tvArea, {});
    const CellRect helpRow{0, rows - 1, cols, rows};
    grid.fill(helpRow, {}, helpRow);
    grid.text(0, rows - 1, kKeyHelp, {}, helpRow);
    return grid;
}
