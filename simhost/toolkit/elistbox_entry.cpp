// List entries: each appends itself to its list, which owns it from then on.
#include "elistbox.h"

#include "widget_private.h"

eListBoxEntryText::eListBoxEntryText(eListBox<eListBoxEntryText>* list, const char* text, void* key, int /*align*/,
                                     const eString& /*helptext*/, int /*keytype*/)
    : text_(text), key_(key)
{
    if (list)
        internals(*list).append(this);
}

eListBoxEntryText::eListBoxEntryText(eListBox<eListBoxEntryText>* list, const eString& text, void* key, int /*align*/,
                                     const eString& /*helptext*/, int /*keytype*/)
    : text_(text), key_(key)
{
    if (list)
        internals(*list).append(this);
}

const eString& eListBoxEntryText::getText()
{
    return text_;
}

int eListBoxEntryText::getEntryHeight()
{
    return 20;
}
