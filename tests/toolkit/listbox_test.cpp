#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "elistbox.h"
#include "ewindow.h"

namespace {

using TextList = eListBox<eListBoxEntryText>;

// Counts its own destruction so ownership can be checked.
class CountedEntry : public eListBoxEntryText {
public:
    CountedEntry(TextList* list, const char* text, int& deaths) : eListBoxEntryText(list, text), deaths_(deaths) {}
    ~CountedEntry() override { ++deaths_; }

private:
    int& deaths_;
};

struct ListBox : ::testing::Test {
    eWindow window{1};
    TextList* list = new TextList(&window, nullptr, 1);
    std::vector<eListBoxEntryText*> selected;
    std::vector<eListBoxEntryText*> changed;

    ListBox()
    {
        list->resize(eSize(200, 5 * eListBoxEntryText::getEntryHeight()));   // 5 rows a page
        list->selected.connect([this](eListBoxEntryText* e) { selected.push_back(e); });
        list->selchanged.connect([this](eListBoxEntryText* e) { changed.push_back(e); });
    }

    void fill(int count)
    {
        for (int i = 0; i < count; ++i)
            new eListBoxEntryText(list, eString(std::to_string(i)), nullptr, 0, eString(), 0);
    }

    std::vector<std::string> texts() const
    {
        std::vector<std::string> out;
        for (int i = 0; i < list->getCount(); ++i)
            out.push_back(list->entryAt(i)->getText());
        return out;
    }

    void press(eRCKey key, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            EXPECT_TRUE(list->keyDown(key));
    }
};

} // namespace

TEST_F(ListBox, EntriesAppendThemselvesInOrder)
{
    fill(3);
    new eListBoxEntryText(list, "..");
    EXPECT_EQ(texts(), (std::vector<std::string>{"0", "1", "2", ".."}));
    EXPECT_EQ(list->entryAt(4), nullptr);
    EXPECT_EQ(list->entryAt(-1), nullptr);
}

TEST_F(ListBox, CursorMovesByRowAndPageWithinTheEntries)
{
    fill(12);
    EXPECT_EQ(list->getPageSize(), 5);
    EXPECT_EQ(list->getCurrentIndex(), 0);

    press(eRCKey::up);   // no wrap at the top
    EXPECT_EQ(list->getCurrentIndex(), 0);
    EXPECT_TRUE(changed.empty());

    press(eRCKey::down, 4);
    EXPECT_EQ(list->getCurrentIndex(), 4);
    EXPECT_EQ(list->getTop(), 0);
    press(eRCKey::down);   // off the page: scroll by one
    EXPECT_EQ(list->getTop(), 1);

    press(eRCKey::right);
    EXPECT_EQ(list->getCurrentIndex(), 10);
    EXPECT_EQ(list->getTop(), 6);
    press(eRCKey::pageDown);   // clamped to the last entry, no wrap
    EXPECT_EQ(list->getCurrentIndex(), 11);
    EXPECT_EQ(list->getTop(), 7);
    press(eRCKey::down);
    EXPECT_EQ(list->getCurrentIndex(), 11);

    press(eRCKey::left);
    EXPECT_EQ(list->getCurrentIndex(), 6);
    EXPECT_EQ(list->getTop(), 6);
    press(eRCKey::pageUp, 3);
    EXPECT_EQ(list->getCurrentIndex(), 0);
    EXPECT_EQ(list->getTop(), 0);

    // One selchanged per actual move, carrying the new entry.
    ASSERT_EQ(changed.size(), 10u);
    EXPECT_EQ(changed[4], list->entryAt(5));
    EXPECT_EQ(changed[5], list->entryAt(10));
    EXPECT_EQ(changed.back(), list->entryAt(0));
}

TEST_F(ListBox, SetCurrentIndexClampsScrollsAndNotifies)
{
    fill(12);
    list->setCurrentIndex(99);
    EXPECT_EQ(list->getCurrentIndex(), 11);
    EXPECT_EQ(list->getTop(), 7);
    list->setCurrentIndex(11);   // no move, no signal
    EXPECT_EQ(changed, (std::vector<eListBoxEntryText*>{list->getCurrentEntry()}));
}

TEST_F(ListBox, ShortListHasAPageOfAtLeastOneRow)
{
    list->resize(eSize(200, 5));
    fill(3);
    EXPECT_EQ(list->getPageSize(), 1);
    press(eRCKey::pageDown);
    EXPECT_EQ(list->getCurrentIndex(), 1);
    EXPECT_EQ(list->getTop(), 1);
}

TEST_F(ListBox, OkSelectsTheCurrentEntryExitSelectsNothing)
{
    fill(3);
    press(eRCKey::down);
    press(eRCKey::ok);
    press(eRCKey::exit);
    ASSERT_EQ(selected.size(), 2u);
    EXPECT_EQ(selected[0], list->entryAt(1));
    EXPECT_EQ(selected[1], nullptr);
}

TEST_F(ListBox, EmptyListSelectsOnlyOnExit)
{
    EXPECT_EQ(list->getCurrent(), nullptr);
    press(eRCKey::down);
    press(eRCKey::pageDown);
    press(eRCKey::ok);
    EXPECT_TRUE(selected.empty());
    EXPECT_TRUE(changed.empty());
    press(eRCKey::exit);
    EXPECT_EQ(selected, (std::vector<eListBoxEntryText*>{nullptr}));
}

TEST_F(ListBox, SortIsStableByteOrderAndResetsTheCursor)
{
    for (const char* text : {"a", "B", "/a", " b", "..", "\xc3\xa9", "/a", "a b"})
        new eListBoxEntryText(list, text);
    eListBoxEntry* firstSlashA = list->entryAt(2);
    list->setCurrentIndex(7);

    list->sort();
    EXPECT_EQ(texts(), (std::vector<std::string>{" b", "..", "/a", "/a", "B", "a", "a b", "\xc3\xa9"}));
    EXPECT_EQ(list->entryAt(2), firstSlashA);   // equal texts keep their order
    EXPECT_EQ(list->getCurrentIndex(), 0);
    EXPECT_EQ(list->getTop(), 0);
}

TEST_F(ListBox, ClearListDeletesEntriesAndTheListDeletesTheRest)
{
    int deaths = 0;
    for (const char* text : {"x", "y", "z", "w", "v", "u"})
        new CountedEntry(list, text, deaths);
    list->setCurrentIndex(5);

    list->clearList();
    EXPECT_EQ(deaths, 6);
    EXPECT_EQ(list->getCount(), 0);
    EXPECT_EQ(list->getCurrentIndex(), 0);
    EXPECT_EQ(list->getTop(), 0);

    new CountedEntry(list, "kept", deaths);
    delete list;
    EXPECT_EQ(deaths, 7);
}

TEST_F(ListBox, AtomicBatchMovesWithoutNotifying)
{
    fill(8);
    list->beginAtomic();
    list->beginAtomic();
    list->setCurrentIndex(3);
    list->clearList();
    fill(4);
    list->setCurrentIndex(2);
    list->endAtomic();
    list->setCurrentIndex(1);   // still inside the outer batch
    list->endAtomic();
    EXPECT_TRUE(changed.empty());
    EXPECT_EQ(list->getCurrentIndex(), 1);

    list->endAtomic();   // unbalanced end: harmless
    list->setCurrentIndex(0);
    EXPECT_EQ(changed.size(), 1u);
}
