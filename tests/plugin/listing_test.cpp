// What a directory listing shows, from real directories on disk.
#include <vector>

#include "dialog_fixture.h"

using ::testing::ElementsAre;

namespace {

class ListingTest : public DialogTest {};

TEST_F(ListingTest, EmptyDirectoryShowsOnlyTheParentEntry)
{
    dialog->dispfiles(tree.path());
    EXPECT_THAT(entries(), ElementsAre(".."));
}

TEST_F(ListingTest, ShowsDirectoriesAndFlacFilesByTheirRules)
{
    tree.dir("music");
    tree.dir(".config");
    tree.dir("....");
    tree.dir("x.flac");   // a directory, never a file
    for (const char* name : {"a.flac", "B.FLAC", "c.FlAc", ".flac", "d.flac.bak", "e.fla", "FLAC", "notes.txt"})
        tree.file(name);
    tree.symlink(tree / "music", "linkdir");
    tree.symlink(tree / "a.flac", "link.flac");
    tree.symlink(tree / "missing", "dangling.flac");
    tree.symlink(tree / "missing", "danglingdir");
    tree.fifo("fifo.flac");
    tree.socket("sock.flac");

    dialog->dispfiles(tree.path());

    // Byte order: "." (0x2E) before "/" (0x2F) before upper before lower case.
    EXPECT_THAT(entries(), ElementsAre("..", ".flac", "/....", "/.config", "/linkdir", "/music", "/x.flac",
                                       "B.FLAC", "a.flac", "c.FlAc"));
}

TEST_F(ListingTest, TrailingSlashAndRepeatedListingsGiveTheSameEntries)
{
    tree.dir("sub");
    tree.file("song.flac");
    dialog->dispfiles(tree.path());
    std::vector<std::string> first = entries();

    dialog->dispfiles(tree.path() + "/");
    EXPECT_EQ(entries(), first);
    dialog->dispfiles(tree.path());
    EXPECT_EQ(entries(), first);
    EXPECT_THAT(first, ElementsAre("..", "/sub", "song.flac"));
}

TEST_F(ListingTest, UnreadableOrMissingDirectoryShowsOnlyTheParentEntry)
{
    dialog->dispfiles(tree / "does-not-exist");
    EXPECT_THAT(entries(), ElementsAre(".."));
}

TEST_F(ListingTest, RootListsTheParentEntryAndItsDirectories)
{
    dialog->dispfiles("/");
    std::vector<std::string> texts = entries();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.front(), "..");
    EXPECT_NE(std::find(texts.begin(), texts.end(), "/tmp"), texts.end());
    for (const std::string& text : texts)
        EXPECT_NE(text, "//") << "no doubled separators in entry texts";
}

TEST_F(ListingTest, ListingKeepsTheFocusOnTheList)
{
    dialog->setFocus(nullptr);
    dialog->dispfiles(tree.path());
    EXPECT_TRUE(dialog->fileList()->hasFocus());
}

}  // namespace
