#include "key_script.h"

#include <gtest/gtest.h>

#include "options.h"

namespace {

TEST(KeyScript, ReadsKeysWaitsAndPrintsAcrossLinesAndComments) {
    const ParsedScript s = parseScript(
        "# walk into the tree\n"
        "down  down\tok   # enter\n"
        "\n"
        "wait=500 print pgup pgdown left right up exit red green yellow blue wait=0\n");
    ASSERT_TRUE(s.ok()) << s.error;
    const std::vector<ScriptStep> expected = {
        ScriptStep::press(eRCKey::down),     ScriptStep::press(eRCKey::down),   ScriptStep::press(eRCKey::ok),
        ScriptStep::wait(500),               ScriptStep::print(),               ScriptStep::press(eRCKey::pageUp),
        ScriptStep::press(eRCKey::pageDown), ScriptStep::press(eRCKey::left),   ScriptStep::press(eRCKey::right),
        ScriptStep::press(eRCKey::up),       ScriptStep::press(eRCKey::exit),   ScriptStep::press(eRCKey::red),
        ScriptStep::press(eRCKey::green),    ScriptStep::press(eRCKey::yellow), ScriptStep::press(eRCKey::blue),
        ScriptStep::wait(0),
    };
    EXPECT_EQ(s.steps, expected);
    EXPECT_TRUE(parseScript("").ok());
    EXPECT_TRUE(parseScript("# only a comment").steps.empty());
}

TEST(KeyScript, RejectsUnknownWordsAndBadWaitsWithTheirLine) {
    for (const char* bad : {"Down", "ok\nenter", "wait", "wait=", "wait=-5", "wait=5ms", "wait=1e3",
                            "wait=99999999999", "wait=3600001", "print=1"}) {
        const ParsedScript s = parseScript(bad);
        EXPECT_FALSE(s.ok()) << bad;
        EXPECT_TRUE(s.steps.empty()) << bad;
    }
    const ParsedScript s = parseScript("down\n\nup sideways");
    EXPECT_NE(s.error.find("line 3"), std::string::npos) << s.error;
    EXPECT_NE(s.error.find("sideways"), std::string::npos) << s.error;
    EXPECT_TRUE(parseScript("wait=3600000").ok());
}

ParsedOptions parse(std::vector<std::string> args) { return parseOptions(args); }

TEST(CommandLine, TakesOptionsAroundThePluginAndValuesInEitherForm) {
    ParsedOptions p = parse({"--keys", "down ok", "lirva.so", "--size=100x40", "--print-each", "--no-dsp-sim"});
    ASSERT_TRUE(p.ok()) << p.error;
    EXPECT_EQ(p.options.pluginPath, "lirva.so");
    EXPECT_EQ(p.options.keys, "down ok");
    EXPECT_EQ(p.options.cols, 100);
    EXPECT_EQ(p.options.rows, 40);
    EXPECT_TRUE(p.options.printEach);
    EXPECT_FALSE(p.options.dspSim);
    EXPECT_TRUE(p.options.scripted());

    p = parse({"x.so"});
    ASSERT_TRUE(p.ok());
    EXPECT_FALSE(p.options.scripted());
    EXPECT_EQ(p.options.cols, 90);
    EXPECT_EQ(p.options.rows, 36);
    EXPECT_TRUE(parse({"--keys", "", "x.so"}).options.scripted()) << "an empty script is still a script";
    EXPECT_TRUE(parse({"--headless", "x.so"}).options.scripted());
}

TEST(CommandLine, RejectsWhatItCannotUse) {
    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
             {},
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
         }) {
        EXPECT_FALSE(parse(bad).ok()) << ::testing::PrintToString(bad);
    }
}

}  // namespace
