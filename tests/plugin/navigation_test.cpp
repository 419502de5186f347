// Moving through the file system: entering, going up, returning to "/".
#include "dialog_fixture.h"
#include "widget_private.h"

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;

namespace {

class NavigationTest : public DialogTest {
protected:
    void SetUp() override
    {
        tree.dir("media/hdd/music");
        tree.file("media/hdd/a.flac");
        tree.file("media/b.flac");
    }
};

TEST_F(NavigationTest, EnteringDirectoriesJoinsWithoutDoubledSeparators)
{
    enter(tree / "media");
    select("/hdd");
    EXPECT_EQ(current(), tree / "media/hdd");
    EXPECT_THAT(entries(), ElementsAre("..", "/music", "a.flac"));

    // From a path with a trailing "/" (after going up) the join stays clean.
    select("..");
    ASSERT_EQ(current(), tree / "media/");
    select("/hdd");
    EXPECT_EQ(current(), tree / "media/hdd");
}

TEST_F(NavigationTest, GoingUpEndsInSlashWhetherOrNotThePathDid)
{
    enter(tree / "media/hdd/music");
    select("..");
    EXPECT_EQ(current(), tree / "media/hdd/");
    EXPECT_THAT(entries(), ElementsAre("..", "/music", "a.flac"));

    enter(tree / "media/hdd/music/");
    select("..");
    EXPECT_EQ(current(), tree / "media/hdd/");

    select("..");
    EXPECT_EQ(current(), tree / "media/");
    EXPECT_THAT(entries(), ElementsAre("..", "/hdd", "b.flac"));
}

TEST_F(NavigationTest, GoingUpFromAFirstLevelDirectoryOrRootListsRoot)
{
    for (const char* start : {"/tmp", "/tmp/", "/"}) {
        enter(start);
        select("..");
        EXPECT_EQ(current(), "/") << "from " << start;
        EXPECT_EQ(entries().front(), "..");
        EXPECT_THAT(entries(), Contains("/tmp"));
        EXPECT_THAT(entries(), Not(Contains("//")));
    }
}

TEST_F(NavigationTest, AFileNameBeginningWithTwoDotsIsPlayedNotTakenForTheParent)
{
    tree.file("media/hdd/..intro.flac");
    enter(tree / "media/hdd");
    EXPECT_THAT(entries(), ElementsAre("..", "..intro.flac", "/music", "a.flac"));
    select("..intro.flac");
    EXPECT_EQ(current(), tree / "media/hdd");
    EXPECT_EQ(ExecThread::count(), 1) << "selecting the file starts its play thread";
}

// A file, or an entry whose target has gone, changes nothing; going up to a
// vanished directory stores the path but keeps the old listing.
TEST_F(NavigationTest, FilesAndVanishedEntriesLeaveTheListingAsItWas)
{
    enter(tree / "media/hdd");
    std::vector<std::string> before = entries();
    select("a.flac");
    select("/nothing-here");
    select("vanished.flac");
    EXPECT_EQ(current(), tree / "media/hdd");
    EXPECT_EQ(entries(), before);

    enter(tree / "media/hdd/music");
    before = entries();
    std::filesystem::rename(tree / "media/hdd", tree / "media/gone");
    select("..");
    EXPECT_EQ(current(), tree / "media/hdd/");
    EXPECT_EQ(entries(), before);
}

TEST_F(NavigationTest, RedKeyReturnsToRoot)
{
    enter(tree / "media/hdd");
    EXPECT_TRUE(internals(*dialog).dispatchKey(eRCKey::red));
    EXPECT_EQ(current(), "/");
}

}  // namespace
