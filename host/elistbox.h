#ifndef LIRVA_HOST_ELISTBOX_H
#define LIRVA_HOST_ELISTBOX_H

#include <sigc++/signal.h>

#include <vector>

#include "ewidget.h"

class eListBoxBase;

// One row of a list. The entry's constructor appends it to its list, which
// owns it from then on and deletes it on clearList() or with the list.
class eListBoxEntry {
public:
    explicit eListBoxEntry(eListBoxBase* list);
    virtual ~eListBoxEntry();
    eListBoxEntry(const eListBoxEntry&) = delete;
    eListBoxEntry& operator=(const eListBoxEntry&) = delete;

    // The text the list shows and sorts by.
    virtual const eString& getText() const = 0;
};

// A scrolling list with a cursor. Keys: up/down move the cursor, left/right
// and page keys move it a page, OK selects the entry under the cursor, EXIT
// selects nothing (the user leaves the list).
class eListBoxBase : public eDecoWidget {
public:
    eListBoxBase(eWidget* parent, const eWidget* descr = nullptr, int takefocus = 1, const char* deco = "eListBox");
    ~eListBoxBase() override;

    // Bracket a batch of changes; the list is repainted once at the end.
    void beginAtomic();
    void endAtomic();
    // Deletes every entry; the cursor goes back to the first row.
    void clearList();
    // Orders the entries by text, byte by byte (stable); cursor to the first row.
    void sort();

    void append(eListBoxEntry* entry);   // called by eListBoxEntry's constructor

    int getCount() const;
    eListBoxEntry* entryAt(int index) const;   // null when out of range
    eListBoxEntry* getCurrent() const;         // null when the list is empty
    int getCurrentIndex() const;
    // Moves the cursor (clamped to the entries) and emits selchanged if it moved.
    void setCurrentIndex(int index);
    int getTop() const;        // index of the first visible row
    int getPageSize() const;   // rows that fit in the list's height

    bool keyDown(eRCKey key) override;
    eWidgetKind kind() const override { return eWidgetKind::listbox; }

protected:
    virtual void SendSelected(eListBoxEntry* entry) = 0;
    virtual void SendSelChanged(eListBoxEntry* entry) = 0;

private:
    void moveCursor(int index, bool notify);

    std::vector<eListBoxEntry*> entries_;
    int current_ = 0;
    int top_ = 0;
    int atomicDepth_ = 0;
};

// The typed list: its signals carry entries of type T.
template <class T>
class eListBox : public eListBoxBase {
public:
    eListBox(eWidget* parent, const eWidget* descr = nullptr, int takefocus = 1, const char* deco = "eListBox")
        : eListBoxBase(parent, descr, takefocus, deco) {}

    sigc::signal<void(T*)> selected;     // the chosen entry, or null when the user leaves
    sigc::signal<void(T*)> selchanged;   // the cursor moved to this entry

    T* getCurrentEntry() const { return static_cast<T*>(getCurrent()); }

protected:
    void SendSelected(eListBoxEntry* entry) override { selected(static_cast<T*>(entry)); }
    void SendSelChanged(eListBoxEntry* entry) override { selchanged(static_cast<T*>(entry)); }
};

// A row showing one text.
class eListBoxEntryText : public eListBoxEntry {
public:
    eListBoxEntryText(eListBox<eListBoxEntryText>* list, const char* text = nullptr, void* key = nullptr,
                      int align = 0, const eString& helptext = eString(), int keytype = 0);
    eListBoxEntryText(eListBox<eListBoxEntryText>* list, const eString& text, void* key = nullptr,
                      int align = 0, const eString& helptext = eString(), int keytype = 0);

    const eString& getText() const override { return text_; }
    void* getKey() const { return key_; }
    static int getEntryHeight();   // pixels per row

private:
    eString text_;
    void* key_;
};

#endif
