// What a directory listing shows, from real directories on disk.
#include "plugin_fixture.h"

using ::testing::ElementsAre;

namespace {

class ListingTest : public DialogTest { };

TEST_F(ListingTest, ShowsDirectoriesAndRegularFlacFilesInByteOrder)
{
    tree.dir("music");
    tree.dir(".config");
    tree.dir("....");
    tree.dir("x.flac");  // a directory, never a file
    for (const char* name : {"a.flac", "B.FLAC", "c.FlAc", ".flac", "d.flac.bak", "e.fla", "FLAC", "notes.txt"})
        tree.file(name);
    tree.symlink(tree / "music", "linkdir");
    tree.symlink(tree / "a.flac", "link.flac");
    tree.symlink(tree / "missing", "dangling.flac");
    tree.symlink(tree / "missing", "danglingdir");
    tree.fifo("fifo.flac");
    tree.socket("sock.flac");

    dialog->dispfiles(tree.path());
    // "." (0x2E) before "/" (0x2F) before upper before lower case.
    EXPECT_THAT(
        entries(),
        ElementsAre("..", ".flac", "/....", "/.config", "/linkdir", "/music", "/x.flac", "B.FLAC", "a.flac", "c.FlAc"));

    dialog->setFocus(nullptr);
    dialog->dispfiles(tree / "does-not-exist");
    EXPECT_THAT(entries(), ElementsAre(".."));
    EXPECT_TRUE(internals(*dialog->fileList()).hasFocus());
}

TEST_F(ListingTest, ShowsAFlacFileOverFourGiB)
{
    // Its size needs 64 bits: a 32-bit build without large-file support
    // would fail stat() on it and leave it out.
    if (!tree.sparseFile("long.flac", 5LL << 30))
        GTEST_SKIP() << "the file system of " << tree.path() << " cannot hold a sparse file of 5 GiB";
    tree.file("short.flac");
    dialog->dispfiles(tree.path());
    EXPECT_THAT(entries(), ElementsAre("..", "long.flac", "short.flac"));
}

}  // namespace
