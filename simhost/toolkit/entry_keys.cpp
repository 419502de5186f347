#include "entry_keys.h"

#include "elistbox.h"
#include "widget_private.h"

std::optional<std::vector<eRCKey>> keysToEntry(const eWidget& top, const eString& text)
{
    const eWidget* list = internals(top).getFocus();
    if (list == nullptr || internals(*list).widgetKind != eWidgetKind::listbox)
        return std::nullopt;
    const eWidget::Private& d = internals(*list);
    if (d.list->atomicDepth > 0)
        return std::nullopt;  // being filled: rows and cursor are not final yet
    for (int row = 0; row < d.getCount(); ++row) {
        if (d.entryAt(row)->getText() == text) {
            const int from = d.getCurrentIndex();
            return std::vector<eRCKey>(static_cast<size_t>(row > from ? row - from : from - row),
                                       row > from ? eRCKey::down : eRCKey::up);
        }
    }
    return std::nullopt;
}
