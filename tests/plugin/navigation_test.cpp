// Moving through the file system: entering, going up, returning to "/".
#include "plugin_fixture.h"

using ::testing::AllOf;
using ::testing::Contains;
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
    // A path in the tree, or an absolute one.
    std::string at(const std::string& path) const { return path[0] == '/' ? path : tree / path; }
};

TEST_F(NavigationTest, EntriesLeadWhereTheirNamesSay)
{
    struct Walk {
        const char* from;
        std::vector<const char*> selections;
        const char* to;
        const char* listing;  // the entries, one line; "" when not checked
    };
    const Walk walks[] = {
        {"media", {"/hdd"}, "media/hdd", ".. /music a.flac"},
        {"media", {"/hdd", "..", "/hdd"}, "media/hdd", ""},  // no doubled "/" after going up
        {"media/hdd/music", {".."}, "media/hdd/", ".. /music a.flac"},
        {"media/hdd/music/", {"..", ".."}, "media/", ".. /hdd b.flac"},
        {"media/hdd", {"/nothing-here", "vanished.flac"}, "media/hdd", ".. /music a.flac"},
        {"/tmp", {".."}, "/", ""},
        {"/tmp/", {".."}, "/", ""},
        {"/", {".."}, "/", ""},
    };
    for (const Walk& walk : walks) {
        enter(at(walk.from));
        for (const char* selection : walk.selections)
            select(selection);
        EXPECT_EQ(current(), at(walk.to)) << "from " << walk.from;
        std::string listing;
        for (const std::string& entry : entries())
            listing += (listing.empty() ? "" : " ") + entry;
        if (*walk.listing) {
            EXPECT_EQ(listing, walk.listing) << "from " << walk.from;
        } else if (std::string(walk.to) == "/") {
            EXPECT_THAT(entries(), AllOf(Contains("/tmp"), Not(Contains("//")))) << "from " << walk.from;
        }
    }
}

TEST_F(NavigationTest, AFileNameBeginningWithTwoDotsIsPlayedNotTakenForTheParent)
{
    tree.file("media/hdd/..intro.flac");
    enter(tree / "media/hdd");
    select("..intro.flac");
    EXPECT_EQ(current(), tree / "media/hdd");
    EXPECT_EQ(ExecThread::count(), 1) << "selecting the file starts its play thread";
}

}  // namespace
