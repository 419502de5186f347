// What a directory listing shows, and moving through the file system.
#include "hostile_flac.h"
#include "plugin_fixture.h"

namespace {

class BrowserTest : public DialogTest { };

TEST_F(BrowserTest, ListsDirectoriesAndRegularFlacFilesInByteOrder)
{
    for (const char* dir : {"music", ".config", "....", "x.flac"})  // "x.flac" a directory, never a file
        tree.dir(dir);
    for (const char* name : {"a.flac", "B.FLAC", "c.FlAc", ".flac", "d.flac.bak", "e.fla", "FLAC", "notes.txt"})
        tree.file(name);
    std::filesystem::create_directory_symlink(tree / "music", tree / "linkdir");
    std::filesystem::create_symlink(tree / "a.flac", tree / "link.flac");
    std::filesystem::create_symlink(tree / "missing", tree / "dangling.flac");
    std::filesystem::create_symlink(tree / "missing", tree / "danglingdir");
    ASSERT_EQ(mkfifo((tree / "fifo.flac").c_str(), 0600), 0);  // not a regular file
    // Over 4 GiB, its size needs 64 bits: a 32-bit build without large-file
    // support would fail stat() on it and leave it out.
    const std::string why =
        make_sparse_after_header(tree / "long.flac", LIRVA_CORPUS_DIR "/subset-01-blocksize-4096.flac", 5LL << 30);
    dialog->dispfiles(tree.path());
    // "." (0x2E) before "/" (0x2F) before upper before lower case.
    std::vector<std::string> expected{"..",     ".flac",   "/....",  "/.config", "/linkdir",
                                      "/music", "/x.flac", "B.FLAC", "a.flac",   "c.FlAc"};
    if (why.empty())
        expected.push_back("long.flac");
    EXPECT_EQ(entries(), expected);

    dialog->setFocus(nullptr);
    dialog->dispfiles(tree / "does-not-exist");
    EXPECT_THAT(entries(), testing::ElementsAre(".."));
    EXPECT_TRUE(internals(*dialog->fileList()).hasFocus());
    if (!why.empty())
        GTEST_SKIP() << "no file over 4 GiB: " << why;
}

// Only ".." itself goes up: "..intro.flac" is a file, and plays. A file
// entry never enters a folder whose path its name completes ("s.flac" in
// "rock" beside "rocks.flac"), nor a folder entry a file.
TEST_F(BrowserTest, EntriesLeadWhereTheirNamesSay)
{
    tree.dir("media/hdd/music");
    tree.file("media/hdd/a.flac");
    tree.file("media/hdd/..intro.flac");
    tree.file("media/b.flac");
    tree.dir("rock");
    tree.dir("rocks.flac");
    tree.file("rock/s.flac");
    tree.file("rock/t.flac");
    struct Walk {
        const char* from;  // in the tree, or absolute
        std::vector<const char*> selections;
        const char* to;
        const char* listing;  // "" when not checked
    };
    const Walk walks[] = {
        {"media", {"/hdd"}, "media/hdd", ".. ..intro.flac /music a.flac"},
        {"media", {"/hdd", "..", "/hdd"}, "media/hdd", ""},  // no doubled "/" after going up
        {"media/hdd/music", {".."}, "media/hdd/", ".. ..intro.flac /music a.flac"},
        {"media/hdd/music/", {"..", ".."}, "media/", ".. /hdd b.flac"},
        {"media/hdd", {"/nothing-here", "vanished.flac", "..intro.flac"}, "media/hdd", ".. ..intro.flac /music a.flac"},
        {"rock", {"s.flac"}, "rock", ".. s.flac t.flac"},
        {"media", {"/b.flac"}, "media", ".. /hdd b.flac"},
        {"/tmp", {".."}, "/", ""},
        {"/tmp/", {".."}, "/", ""},
        {"/", {".."}, "/", ""},
    };
    auto at = [&](const std::string& path) { return path[0] == '/' ? path : tree / path; };
    for (const Walk& walk : walks) {
        enter(at(walk.from));
        for (const char* selection : walk.selections)
            select(selection);
        EXPECT_EQ(current(), at(walk.to)) << "from " << walk.from;
        std::string listing;
        for (const std::string& entry : entries())
            listing += (listing.empty() ? "" : " ") + entry;
        EXPECT_TRUE(!*walk.listing || listing == walk.listing) << listing << ", from " << walk.from;
        if (std::string(walk.to) == "/") {
            EXPECT_THAT(entries(), testing::AllOf(testing::Contains("/tmp"), testing::Not(testing::Contains("//"))));
        }
    }
    // The file entries played (how many of their threads are reclaimed by
    // now depends on how fast they ended).
    EXPECT_GE(ExecThread::count(), 1) << "selecting a file entry starts no play thread";
}

// Going up from a folder whose parents have gone ("a" is a file now) lands
// in the nearest folder that still is one, and lists it: the path and the
// list agree.
TEST_F(BrowserTest, GoingUpPastVanishedFoldersKeepsPathAndListTogether)
{
    tree.dir("a/b/c");
    tree.file("z.flac");
    enter(tree / "a/b/c");
    std::filesystem::remove_all(tree / "a");
    tree.file("a");
    select("..");
    EXPECT_EQ(current(), tree.path() + "/");
    const std::vector<std::string> listed = entries();
    EXPECT_THAT(listed, testing::ElementsAre("..", "z.flac"));
}

}  // namespace
