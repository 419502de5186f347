#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "elistbox.h"
#include "ewindow.h"
#include "widget_private.h"

namespace {

using TextList = eListBox<eListBoxEntryText>;

struct ListBox : ::testing::Test {
    eWindow window{1};
    TextList* list = new TextList(&window, nullptr, 1);
    std::vector<eListBoxEntryText*> selected, changed;

    ListBox()
    {
        list->resize(eSize(200, 5 * eListBoxEntryText::getEntryHeight()));  // 5 rows
        list->selected.connect([this](eListBoxEntryText* e) { selected.push_back(e); });
        list->selchanged.connect([this](eListBoxEntryText* e) { changed.push_back(e); });
    }
    void fill(int count)
    {
        for (int i = 0; i < count; ++i)
            new eListBoxEntryText(list, eString(std::to_string(i)), nullptr, 0, eString(), 0);
    }
    // Sends a key; returns the cursor and the top row after it.
    std::pair<int, int> press(eRCKey key)
    {
        EXPECT_TRUE(internals(*list).keyDown(key));
        return {internals(*list).getCurrentIndex(), internals(*list).getTop()};
    }
};

using Pos = std::pair<int, int>;

}  // namespace

TEST_F(ListBox, CursorMovesByRowAndPageKeepingItOnThePage)
{
    fill(12);
    EXPECT_EQ(press(eRCKey::up), Pos(0, 0));  // no wrap
    for (int i = 0; i < 4; ++i)
        press(eRCKey::down);
    EXPECT_EQ(press(eRCKey::down), Pos(5, 1));
    EXPECT_EQ(press(eRCKey::right), Pos(10, 6));
    EXPECT_EQ(press(eRCKey::pageDown), Pos(11, 7));  // clamped
    EXPECT_EQ(press(eRCKey::down), Pos(11, 7));
    EXPECT_EQ(press(eRCKey::left), Pos(6, 6));
    EXPECT_EQ(press(eRCKey::pageUp), Pos(1, 1));
    EXPECT_EQ(press(eRCKey::pageUp), Pos(0, 0));

    // One selchanged per real move, with the new entry.
    ASSERT_EQ(changed.size(), 10u);
    EXPECT_EQ(changed[5], internals(*list).entryAt(10));
    internals(*list).setCurrentIndex(99);
    EXPECT_EQ(changed.back(), internals(*list).entryAt(11));
    EXPECT_EQ(internals(*list).getTop(), 7);
}

TEST_F(ListBox, OkSelectsTheCursorExitSelectsNothing)
{
    press(eRCKey::down);
    press(eRCKey::ok);  // empty list: nothing to select
    EXPECT_TRUE(selected.empty() && changed.empty());

    fill(3);
    press(eRCKey::down);
    press(eRCKey::ok);
    press(eRCKey::exit);
    EXPECT_EQ(selected, (std::vector<eListBoxEntryText*>{internals(*list).getCurrent(), nullptr}));
    EXPECT_EQ(internals(*list).getCurrent()->getText(), "1");
}

TEST_F(ListBox, SortIsStableInByteOrder)
{
    for (const char* text : {"a", "B", "/a", " b", "..", "\xc3\xa9", "/a", "a b"})
        new eListBoxEntryText(list, text);
    eListBoxEntryText* firstSlashA = internals(*list).entryAt(2);
    internals(*list).setCurrentIndex(7);
    list->sort();

    std::vector<std::string> texts;
    for (int i = 0; i < internals(*list).getCount(); ++i)
        texts.push_back(internals(*list).entryAt(i)->getText());
    EXPECT_EQ(texts, (std::vector<std::string>{" b", "..", "/a", "/a", "B", "a", "a b", "\xc3\xa9"}));
    EXPECT_EQ(internals(*list).entryAt(2), firstSlashA);
    EXPECT_EQ(Pos(internals(*list).getCurrentIndex(), internals(*list).getTop()), Pos(0, 0));
}

// The list deletes its entries on clearList() and with itself: the leak
// checker of the sanitizer build sees any it would leave.
TEST_F(ListBox, OwnsItsEntries)
{
    fill(7);
    internals(*list).setCurrentIndex(6);
    list->clearList();
    EXPECT_EQ(internals(*list).getCount(), 0);
    EXPECT_EQ(Pos(internals(*list).getCurrentIndex(), internals(*list).getTop()), Pos(0, 0));

    fill(1);
    delete list;
}

TEST_F(ListBox, AtomicBatchesNestAndStayQuiet)
{
    fill(8);
    list->beginAtomic();
    list->beginAtomic();
    internals(*list).setCurrentIndex(3);
    list->clearList();
    fill(4);
    list->endAtomic();
    internals(*list).setCurrentIndex(2);  // still inside the outer batch
    list->endAtomic();
    EXPECT_TRUE(changed.empty());
    EXPECT_EQ(internals(*list).getCurrentIndex(), 2);

    list->endAtomic();  // unbalanced: harmless
    internals(*list).setCurrentIndex(0);
    EXPECT_EQ(changed.size(), 1u);
}
