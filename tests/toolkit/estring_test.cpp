#include "estring.h"

#include <gtest/gtest.h>

// The pieces the player cuts names and times with stay inside the string,
// and replacing never scans its own output again.
TEST(eString, PiecesStayInsideTheStringAndEditsAreWhole)
{
    eString s("abcdef");
    const eString longArg(1000, 'x');
    char bracketed[] = "[%s]";
    const std::pair<eString, std::string> cases[] = {{s.left(2), "ab"},
                                                     {s.left(100), "abcdef"},
                                                     {s.mid(2, 3), "cde"},
                                                     {s.mid(4000000000u, 1), ""},
                                                     {s.right(2), "ef"},
                                                     {s.right(100), "abcdef"},
                                                     {eString("///").strReplace("//", "/"), "//"},
                                                     {eString("aaa").strReplace("a", "aa"), "aaaaaa"},
                                                     {eString("abc").strReplace(nullptr, "y"), "abc"},
                                                     {eString().sprintf(bracketed, longArg.c_str()), "[" + longArg + "]"}};
    for (const auto& [got, want] : cases)
        EXPECT_EQ(got, want);
}
