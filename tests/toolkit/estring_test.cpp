#include <gtest/gtest.h>

#include <string>

#include "estring.h"

TEST(eString, NullAndEmpty)
{
    const char* none = nullptr;
    EXPECT_EQ(eString(none), "");
    EXPECT_FALSE(eString(none));
    EXPECT_TRUE(eString("x"));
}

TEST(eString, LeftMidRightNeverPastTheEnd)
{
    const eString s("abcdef");
    EXPECT_EQ(s.left(0), "");
    EXPECT_EQ(s.left(6), "abcdef");
    EXPECT_EQ(s.left(100), "abcdef");
    EXPECT_EQ(s.mid(2, 3), "cde");
    EXPECT_EQ(s.mid(4), "ef");
    EXPECT_EQ(s.mid(6), "");
    EXPECT_EQ(s.mid(4000000000u, 1), "");
    EXPECT_EQ(s.right(0), "");
    EXPECT_EQ(s.right(5), "bcdef");
    EXPECT_EQ(s.right(100), "abcdef");
    EXPECT_EQ(eString().mid(0, 1), "");
}

TEST(eString, UpperAndStrReplace)
{
    EXPECT_EQ(eString("c.FlAc_\xe9").upper(), "C.FLAC_\xe9");

    eString path("/media//hdd//x");
    EXPECT_EQ(&path.strReplace("//", "/"), &path);
    EXPECT_EQ(path, "/media/hdd/x");
    // Left to right, replaced text not scanned again.
    EXPECT_EQ(eString("///").strReplace("//", "/"), "//");
    EXPECT_EQ(eString("aaa").strReplace("a", "aa"), "aaaaaa");
    EXPECT_EQ(eString("abc").strReplace("", "y"), "abc");
    EXPECT_EQ(eString("abc").strReplace(nullptr, "y"), "abc");
}

TEST(eString, SprintfOfAnyLength)
{
    eString s("old");
    EXPECT_EQ(&s.sprintf("%02d:%02d", 3, 7), &s);
    EXPECT_EQ(s, "03:07");
    const std::string longArg(1000, 'x');
    EXPECT_EQ(s.sprintf("[%s]", longArg.c_str()), "[" + longArg + "]");
}
