// List entries: each appends itself to its list, which owns it from then on.
#include "elistbox.h"

eListBoxEntry::eListBoxEntry(eListBoxBase* list)
{
    if (list)
        list->append(this);
}

eListBoxEntry::~eListBoxEntry() = default;

eListBoxEntryText::eListBoxEntryText(eListBox<eListBoxEntryText>* list, const char* text, void* key,
                                     int /*align*/, const eString& /*helptext*/, int /*keytype*/)
    : eListBoxEntry(list), text_(text), key_(key)
{
}

eListBoxEntryText::eListBoxEntryText(eListBox<eListBoxEntryText>* list, const eString& text, void* key,
                                     int /*align*/, const eString& /*helptext*/, int /*keytype*/)
    : eListBoxEntry(list), text_(text), key_(key)
{
}

int eListBoxEntryText::getEntryHeight()
{
    return 20;
}
