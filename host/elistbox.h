#ifndef LIRVA_HOST_ELISTBOX_H
#define LIRVA_HOST_ELISTBOX_H

#include "ewidget.h"

class eListBoxEntryText;

// A scrolling list with a cursor. It owns its entries.
class eListBoxBase : public eDecoWidget {
public:
    // `itemHeight`: the pixels of one row, from the entry type.
    eListBoxBase(eWidget* parent, const eWidget* descr, int takefocus, int itemHeight, const char* deco);
    ~eListBoxBase() override;

    // Bracket a batch of changes.
    void beginAtomic();
    void endAtomic();
    // Deletes every entry.
    void clearList();
    // Orders the entries by text.
    void sort();

protected:
    // The user chose `entry`, or left the list (null); the cursor moved.
    virtual void SendSelected(eListBoxEntryText* entry) = 0;
    virtual void SendSelChanged(eListBoxEntryText* entry) = 0;
};

// The typed list: its signals carry entries of type T.
template <class T>
class eListBox : public eListBoxBase {
public:
    eListBox(eWidget* parent, const eWidget* descr = nullptr, int takefocus = 1)
        : eListBoxBase(parent, descr, takefocus, T::getEntryHeight(), "eListBox")
    { }

    SigC::Signal1<void, T*> selected;    // the chosen entry, or null when the user leaves
    SigC::Signal1<void, T*> selchanged;  // the cursor moved to this entry

protected:
    void SendSelected(eListBoxEntryText* entry) override { selected(entry); }
    void SendSelChanged(eListBoxEntryText* entry) override { selchanged(entry); }
};

// A row showing one text. The constructor appends the entry to its list.
class eListBoxEntryText {
public:
    eListBoxEntryText(eListBox<eListBoxEntryText>* list, const char* text = nullptr, void* key = nullptr, int align = 0,
                      const eString& helptext = eString(), int keytype = 0);
    eListBoxEntryText(eListBox<eListBoxEntryText>* list, const eString& text, void* key = nullptr, int align = 0,
                      const eString& helptext = eString(), int keytype = 0);
    eListBoxEntryText(const eListBoxEntryText&) = delete;
    eListBoxEntryText& operator=(const eListBoxEntryText&) = delete;

    const eString& getText();
    static int getEntryHeight();  // pixels per row

private:
    eString text_;
    [[maybe_unused]] void* key_;  // the caller's key, kept with the entry; unread by the stand-in
};

#endif
