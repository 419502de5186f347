#include "key_script.h"

#include <gtest/gtest.h>

#include "options.h"

namespace {

TEST(KeyScript, ReadsKeysWaitsAndPrintsAcrossLinesAndComments)
{
    const ParsedScript s =
        parseScript("# walk into the tree\n"
                    "down  down\tok   # enter\n"
                    "\n"
                    "wait=500 print pgup pgdown left right up exit red green yellow blue wait=0 wait=3600000\n"
                    "to=/a folder  \n"
                    "await=Elapsed Time : 00:01 # comment\n");
    ASSERT_TRUE(s.ok()) << s.error;
    const auto key = ScriptStep::press;
    const std::vector<ScriptStep> expected = {
        key(eRCKey::down),
        key(eRCKey::down),
        key(eRCKey::ok),
        ScriptStep::wait(500),
        ScriptStep::print(),
        key(eRCKey::pageUp),
        key(eRCKey::pageDown),
        key(eRCKey::left),
        key(eRCKey::right),
        key(eRCKey::up),
        key(eRCKey::exit),
        key(eRCKey::red),
        key(eRCKey::green),
        key(eRCKey::yellow),
        key(eRCKey::blue),
        ScriptStep::wait(0),
        ScriptStep::wait(3600000),
        ScriptStep::to("/a folder"),
        ScriptStep::await("Elapsed Time : 00:01"),
    };
    EXPECT_EQ(s.steps, expected);
}

TEST(KeyScript, RejectsUnknownWordsAndBadWaitsWithTheirLine)
{
    for (const char* bad : {"Down", "ok\nenter", "wait", "wait=", "wait=-5", "wait=5ms", "wait=1e3", "wait=99999999999",
                            "wait=3600001", "print=1", "to=", "await= "})
        EXPECT_TRUE(!parseScript(bad).ok() && parseScript(bad).steps.empty()) << bad;
    const std::string error = parseScript("down\n\nup sideways").error;
    EXPECT_NE(error.find("line 3"), std::string::npos) << error;
    EXPECT_NE(error.find("sideways"), std::string::npos) << error;
}

TEST(CommandLine, TakesOptionsAroundThePluginInEitherFormAndRejectsWhatItCannotUse)
{
    ParsedOptions p = parseOptions(
        {"--keys", "down ok", "lirva.so", "--size=100x40", "--print-each", "--no-dsp-sim", "--thread-kill=cancel"});
    ASSERT_TRUE(p.ok()) << p.error;
    EXPECT_EQ(p.options.pluginPath, "lirva.so");
    EXPECT_EQ(p.options.keys, "down ok");
    EXPECT_TRUE(p.options.cols == 100 && p.options.rows == 40);
    EXPECT_TRUE(p.options.printEach && !p.options.dspSim && p.options.scripted());
    EXPECT_EQ(p.options.threadKill, ThreadKill::cancel);
    EXPECT_EQ(parseOptions({"x.so"}).options.threadKill, ThreadKill::cooperative);

    EXPECT_FALSE(parseOptions({"x.so"}).options.scripted());
    EXPECT_TRUE(parseOptions({"--keys", "", "x.so"}).options.scripted()) << "an empty script is still a script";
    EXPECT_TRUE(parseOptions({"--headless", "x.so"}).options.scripted());

    for (const std::vector<std::string>& bad :
         std::vector<std::vector<std::string>>{{},
                                               {"--keys", "ok"},
                                               {"a.so", "b.so"},
                                               {"--size", "90", "x.so"},
                                               {"--size", "0x36", "x.so"},
                                               {"--size", "90x-3", "x.so"},
                                               {"--size", "99999x36", "x.so"},
                                               {"--keys", "ok", "--script", "f", "x.so"},
                                               {"--script", "x.so"},
                                               {"--frobnicate", "x.so"},
                                               {"--headless=1", "x.so"},
                                               {"x.so", "--keys"},
                                               {"--thread-kill=abort", "x.so"},
                                               {"--thread-kill", "x.so"}})
        EXPECT_FALSE(parseOptions(bad).ok()) << ::testing::PrintToString(bad);
}

}  // namespace
