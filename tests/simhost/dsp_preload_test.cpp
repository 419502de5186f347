#include "dsp_preload.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

TEST(DspPreload, RestartsWithTheSimulatedDeviceOnlyWhenThatHelpsAndKeepsSanitizersFirst)
{
    const std::string sim = "/build/liblirva_dsp_sim.so", asan = "/usr/lib/x86_64-linux-gnu/libasan.so.8";
    const struct {
        const char* what;
        std::function<void(PreloadFacts&)> facts;
        std::string ldPreload;  // "" when there is no restart
        bool warns;
    } cases[] = {
        {"no device", [](PreloadFacts&) {}, sim, false},
        {"inherited list", [](PreloadFacts& f) { f.ldPreload = "/opt/libfoo.so /opt/libbar.so"; },
         sim + ":/opt/libfoo.so:/opt/libbar.so", false},
        {"sanitizer as a dependency", [&](PreloadFacts& f) { f.sanitizerRuntime = asan; }, asan + ":" + sim, false},
        {"asan listed late", [&](PreloadFacts& f) { f.sanitizerRuntime = asan, f.ldPreload = "/opt/foo.so:" + asan; },
         asan + ":" + sim + ":/opt/foo.so", false},
        {"sanitizer by name", [](PreloadFacts& f) { f.ldPreload = "libtsan.so.2"; }, "libtsan.so.2:" + sim, false},
        {"ALSA's OSS layer", [](PreloadFacts& f) { f.ldPreload = "/usr/lib/x86_64-linux-gnu/libaoss.so"; }, "", false},
        {"PulseAudio's OSS layer",
         [](PreloadFacts& f) { f.ldPreload = "/lib/libfoo.so /usr/$LIB/pulseaudio/libpulsedsp.so"; }, "", false},
        {"real device", [](PreloadFacts& f) { f.deviceExists = true; }, "", false},
        {"already loaded", [](PreloadFacts& f) { f.simLoaded = true; }, "", false},
        {"already listed", [&](PreloadFacts& f) { f.ldPreload = "/x.so:" + sim; }, "", false},
        {"restarted once", [](PreloadFacts& f) { f.restarted = true; }, "", true},  // again would loop forever
        {"library missing", [](PreloadFacts& f) { f.simExists = false; }, "", true},
        {"built without it", [](PreloadFacts& f) { f.simPath.clear(); }, "", true},
    };
    for (const auto& c : cases) {
        PreloadFacts f;
        f.simPath = sim;
        f.simExists = true;
        c.facts(f);
        const PreloadDecision d = decidePreload(f);
        EXPECT_EQ(d.restart, !c.ldPreload.empty()) << c.what;
        EXPECT_EQ(d.ldPreload, c.ldPreload) << c.what;
        EXPECT_EQ(d.warning.empty(), !c.warns) << c.what;
    }
}

}  // namespace
