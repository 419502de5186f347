#include <gtest/gtest.h>

#include <string>

#include "estring.h"

TEST(eString, NullPointerGivesEmptyAndFalse)
{
    const char* none = nullptr;
    eString s(none);
    EXPECT_EQ(s, "");
    EXPECT_FALSE(s);
    EXPECT_TRUE(eString("x"));
}

TEST(eString, LeftMidRightStayWithinTheString)
{
    const eString s("abcdef");
    EXPECT_EQ(s.left(0), "");
    EXPECT_EQ(s.left(3), "abc");
    EXPECT_EQ(s.left(6), "abcdef");
    EXPECT_EQ(s.left(100), "abcdef");

    EXPECT_EQ(s.mid(0), "abcdef");
    EXPECT_EQ(s.mid(2, 3), "cde");
    EXPECT_EQ(s.mid(4, 100), "ef");
    EXPECT_EQ(s.mid(5, 0), "");
    EXPECT_EQ(s.mid(6), "");
    EXPECT_EQ(s.mid(7, 2), "");
    EXPECT_EQ(s.mid(4000000000u, 1), "");

    EXPECT_EQ(s.right(0), "");
    EXPECT_EQ(s.right(5), "bcdef");
    EXPECT_EQ(s.right(6), "abcdef");
    EXPECT_EQ(s.right(100), "abcdef");
    EXPECT_EQ(eString("flac").right(5), "flac");

    const eString empty;
    EXPECT_EQ(empty.left(1), "");
    EXPECT_EQ(empty.mid(0, 1), "");
    EXPECT_EQ(empty.right(1), "");
}

TEST(eString, UpperChangesOnlyAsciiLetters)
{
    EXPECT_EQ(eString("a.FlAc z09_\xe9").upper(), "A.FLAC Z09_\xe9");
}

TEST(eString, StrReplaceEveryOccurrenceWithoutRescanning)
{
    eString path("/media//hdd//x");
    EXPECT_EQ(&path.strReplace("//", "/"), &path);
    EXPECT_EQ(path, "/media/hdd/x");

    // Scanned left to right, replaced text not looked at again.
    EXPECT_EQ(eString("///").strReplace("//", "/"), "//");
    EXPECT_EQ(eString("////").strReplace("//", "/"), "//");
    EXPECT_EQ(eString("aaa").strReplace("a", "aa"), "aaaaaa");
    EXPECT_EQ(eString("abcabc").strReplace("bc", ""), "aa");
    EXPECT_EQ(eString("abc").strReplace("x", "y"), "abc");

    EXPECT_EQ(eString("abc").strReplace("", "y"), "abc");
    EXPECT_EQ(eString("abc").strReplace(nullptr, "y"), "abc");
}

TEST(eString, SprintfSetsAndReturnsAnyLength)
{
    eString s("old");
    eString& r = s.sprintf("%02d:%02d", 3, 7);
    EXPECT_EQ(&r, &s);
    EXPECT_EQ(s, "03:07");

    const std::string longArg(1000, 'x');
    s.sprintf("[%s]", longArg.c_str());
    EXPECT_EQ(s, "[" + longArg + "]");

    s.sprintf("%s", "");
    EXPECT_EQ(s, "");
}
